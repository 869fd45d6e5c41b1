// Saves a picture of the hot menu, additional systems and universal input
// pages, each in a plain window of the editor's page size:
//   editor_pages_screenshots OUTPUT_FOLDER [--lang en|ru]
// Names end in "-ru" for Russian. Runs offscreen or under xvfb-run -a.
#include "blocks.h"
#include "editor_page.h"
#include "editor_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "hot_menus.h"
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "systems.h"
#include "tmk.h"

#include <QApplication>
#include <QDir>
#include <QVBoxLayout>
#include <cstdio>
#include <functional>

namespace {

bool shoot(const QString &file, uint16_t type, const char *page, const std::function<void(TMK &)> &fill)
{
    TMK model(type);
    model.DeviceType = type;
    model.FormatImage(9);
    ed::OpenForEditing(model);
    fill(model);
    QWidget window;
    TFieldBinder binder(model, Catalog(), &window);
    TEditorContext context{model, Catalog(), binder};
    TEditorPage *p = MakeEditorPage(page, context, &window);
    (new QVBoxLayout(&window))->addWidget(p);
    p->Load();
    p->Entered();
    window.resize(1000, 540);
    window.show();
    QApplication::processEvents();
    return window.grab().save(file, "PNG", 0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: editor_pages_screenshots OUTPUT_FOLDER [--lang en|ru]\n");
        return 2;
    }
    const bool english = !(args.size() > 3 && args[2] == QLatin1String("--lang") && args[3] == QLatin1String("ru"));
    SetEnglishVersion(english);
    const QDir out(args[1]);
    const QString suffix = english ? QString() : QStringLiteral("-ru");
    auto name = [&](const char *page) { return out.filePath(QStringLiteral("editor-%1%2.png").arg(QLatin1String(page), suffix)); };
    bool ok = shoot(name("hotmenu"), 0xC000, "tsHotMenu", [](TMK &m) {
        ed::InsertHotMenuItem(m, 0, 3, FindMenuItem(QStringLiteral("TankMethMenu"))->Code);
        ed::InsertHotMenuItem(m, 1, 5, FindMenuItem(QStringLiteral("ViewTrip3Menu"))->Code);
    });
    ok = shoot(name("systems"), 0xC000, "tsBlocks", [](TMK &m) {
        for (int n : {8, 16, 22, 27, 55, 56, 58, 124})
            ed::SetSystemSelected(m, n, true);
    }) && ok;
    ok = shoot(name("unimeas"), 0x5800, "tsUniMeas", [](TMK &m) {
        SetU16(m.block(mem::ServiceBlock), 108, 102);
        SetU16(m.block(mem::ServiceBlock), 110, 921);
        SetU16(m.block(mem::ServiceBlock), 112, static_cast<uint16_t>(-20));
        SetU16(m.block(mem::ServiceBlock), 114, 120);
    }) && ok;
    return ok ? 0 : 1;
}
