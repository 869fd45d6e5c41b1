#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

class TMK;
namespace ed {
struct FieldState;
}

// What tripctl prints for the settings, the hot menus, the additional systems
// and the journals, built from a model without printing anything, so that the
// fuzz targets run the very writers the tool runs. JSON is written by hand so
// that keys keep the documented order.
namespace tripout {

// `text` as a JSON string, quotes included.
QByteArray JsonString(const QString &text);

// What a control shows: as a JSON value, and for people (items spelled out).
QByteArray ShownJson(const ed::FieldState &state);
QString ShownText(const ed::FieldState &state);
// `tripctl settings`: with --json one object per control, else a table of the
// shown controls by page.
QByteArray SettingsJson(const std::vector<ed::FieldState> &states);
QByteArray SettingsTable(const std::vector<ed::FieldState> &states);

// `tripctl hotmenu --json`: compacts the lines first, as the page's reload does.
QByteArray HotMenusJson(TMK &model);
// `tripctl systems --json`, from the process-wide catalog.
QByteArray SystemsJson(const TMK &model);

// `tripctl journal --errors --json`: rebuilds the catalog for the fault format.
QByteArray ErrorsJson(TMK &model);
// `tripctl journal --sums --json`.
QByteArray SumsJson(const TMK &model);

} // namespace tripout
