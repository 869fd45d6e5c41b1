#pragma once
#include "field_schema.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

class TMK;
class TProtocolCatalog;
class TProtBase;

// What the settings editor shows for each schema row on the current device,
// protocol and settings, and what storing an entry does. The dialog applies the
// states and calls one store per control; every rule lives here.
namespace ed {

struct FieldState {
    const FieldRow *row = nullptr;
    bool visible = true;
    bool enabled = true;
    QString caption;
    QStringList items;                 // radio groups and combo boxes, in the current language
    std::vector<bool> itemEnabled;     // one per item
    double min = 0, max = 0, step = 1; // spin edits, as in force now
    double scale = 1;                  // stored = shown × scale, as in force now
    int decimals = 0;
    // What the control shows. A spin edit: `number` in user units, clipped to
    // its range. A radio group or combo box: `index`, nothing when the stored
    // value matches no item. A check box: `checked`.
    double number = 0;
    std::optional<int> index;
    bool checked = false;
    QString text;      // a text edit; a date edit "dd.MM.yy"
    int dayNumber = 0; // a date edit, clipped to the earliest and latest dates
};

FieldState EvaluateField(const TMK &model, const TProtocolCatalog &catalog, const FieldRow &row);
// Every row in table order; with a page only that page's rows.
std::vector<FieldState> EvaluateSchema(const TMK &model, const TProtocolCatalog &catalog,
                                       std::optional<Page> page = std::nullopt);

// The stores that leaving or clicking a control runs. They convert the shown
// value and write it into the model at once, as the row's storedWhen, onStore
// and mirrorWithTrim say. A value that does not fit its field is refused with
// a TripError and the field keeps its value.
void StoreNumber(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, double shown);
void StoreItem(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, int index);
void StoreChecked(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, bool checked);
// A text edit's text, by the row's type. A time of day "hh:mm" (hours
// 00..23, minutes 00..59): anything else is refused with a TripError and the
// field keeps its value. A maintenance item name: up to 15 characters in
// Windows-1251 and a zero byte; the rest of the 16-byte slot keeps its bytes.
void StoreText(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, const QString &text);
// A date edit's text "dd.MM.yy" as the device's day number; refused when it is
// no date or before the earliest one.
void StoreDate(TMK &model, const FieldRow &row, const QString &text);

// The universal input's calibration needs two different ADC readings: the
// refusal when `shown` entered into a row equals what its differsFrom row
// shows, else empty. StoreNumber refuses such an entry with it.
QString RefuseEqualAdc(const TMK &model, const TProtocolCatalog &catalog, const FieldRow &row, double shown);

// The earliest date a date edit offers: 10 October 2011. The latest is the
// last one a two-digit year names, 31 December 2099 (the 16-bit day number
// would hold later ones).
constexpr int kEarliestDayNumber = 4301;
constexpr int kLatestDayNumber = 36525;
QString DateText(int dayNumber);                         // "dd.MM.yy"
std::optional<int> DayNumberOfText(const QString &text); // nothing when no date
constexpr int kItemNameLength = 15;
// The name in a maintenance item's name slot.
QString ItemName(const TMK &model, fld::FieldAddress slot);

bool IsAlertMap(ValueMap map);
// The scale of a spin edit as in force on the current device.
double ScaleOf(const TProtocolCatalog &catalog, const FieldRow &row);

// Refusal texts for an entry the control in `state` cannot take (a widget
// cannot be given one; the command-line tool can). Empty when acceptable. They
// name the control and say what it accepts.
QString RefuseUnavailable(const FieldState &state);
QString RefuseNumber(const FieldState &state, double shown);
QString RefuseItem(const FieldState &state, int index);
QString RefuseText(const FieldState &state, const QString &text);
QString RefuseDate(const FieldState &state, const QString &text);
// The range error of a number typed into a spin edit outside the range in
// force, naming the range; empty when the value is inside.
QString RangeError(const FieldState &state, double shown);

// What a control tells the user who points at it: its caption, then what it
// takes in the units it shows (range and step, the items, the dates), and how
// the device keeps the value where that differs from what is shown.
QString ToolTip(const FieldState &state);

// The tooltip of a control whose place in the settings memory this version
// does not know: where the user sets the value instead, the device menu item
// `menuItem` (an identifier of the device menu catalog, its caption in the
// catalog's language), or that the device's menu has no item for it.
QString UnplacedToolTip(const char *menuItem = nullptr);

// The protocol change of `cbProtocol`: a different index is stored, the eight
// option choices are cleared, the model's second protocol index follows, the
// catalog's current protocol is switched, and a tank-type list that got
// shorter falls back to its first item. The same index changes nothing.
void ChangeProtocol(TMK &model, TProtocolCatalog &catalog, int index);

// What opening the editor does to the model: unpacks blocks 1..10, rebuilds the
// process-wide catalogs for its DeviceType and protocol index (an index with no
// entry leaves no current protocol rather than failing), recreates the measured
// parameters and renames them, and resets a tare count above 68 as the tank
// page does when it is shown.
void OpenForEditing(TMK &model);

// Renames measured parameters 9, 11 and 55 for the device and the temperature
// signature.
void RenameParameters(TMK &model, const TProtocolCatalog &catalog);

// The items of the fuel level source for a protocol (none: no ECU sensors).
QStringList TankMethItems(const TProtocolCatalog &catalog, const TProtBase *protocol);

} // namespace ed
