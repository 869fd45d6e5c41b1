// Saves a picture of every page and sub-page of the settings editor, as the
// dialog shows it, on a device and protocol that show most of the controls:
//   editor_screenshots OUTPUT_FOLDER [--lang en|ru] [--device-type TYPE] [--protocol N]
// Files are editor-<page>.png: the page's name without "ts" in lower case
// ("systems" for the additional systems), "-2", "-3" for the further tabs of a
// page that has its own; then "-ru" for Russian and "-150" when the screen is
// scaled, as with QT_SCALE_FACTOR=1.5. The universal input page is taken on a
// device that has it. Each page whose least size does not fit the dialog's
// designed size is named on stderr. Under Xvfb give it a screen large enough
// for the dialog, e.g. xvfb-run -a -s "-screen 0 1920x1200x24".
#include "blocks.h"
#include "display_layout.h"
#include "field_state.h"
#include "hot_menus.h"
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "setparamsdlg.h"
#include "systems.h"
#include "tmk.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <array>
#include <cstdio>
#include <functional>

namespace {

constexpr QSize kDesigned(1021, 599);

QString fileName(const QString &page)
{
    if (page == QLatin1String("tsBlocks"))
        return QStringLiteral("systems");
    return page.mid(2).toLower();
}

// The page control a page keeps of its own, if any (not those of deeper pages).
QTabWidget *ownTabs(QWidget *page)
{
    for (QTabWidget *t : page->findChildren<QTabWidget *>())
        if (t->parentWidget() == page)
            return t;
    return nullptr;
}

struct Shooter {
    QApplication &app;
    QDir out;
    QString suffix;
    bool ok = true;

    void save(TMK_SetParamsDlg &dialog, QWidget *page, const QString &name)
    {
        app.processEvents();
        const QSize room = kDesigned - (dialog.size() - page->size());
        const QSize least = page->minimumSizeHint();
        if (least.width() > room.width() || least.height() > room.height()) {
            std::fprintf(stderr, "%s needs %dx%d, has %dx%d\n", qPrintable(name), least.width(), least.height(),
                         room.width(), room.height());
            ok = false;
        }
        const QString file = out.filePath(QStringLiteral("editor-%1%2.png").arg(name, suffix));
        ok = dialog.grab().save(file, "PNG", 0) && ok;
    }

    // The page at `index` of `tabs`: each of its sub-pages, or each tab of its
    // own page control.
    void shootPage(TMK_SetParamsDlg &dialog, QTabWidget *tabs, int index)
    {
        tabs->setCurrentIndex(index);
        QWidget *page = tabs->widget(index);
        const QString name = fileName(page->objectName());
        QTabWidget *own = ownTabs(page);
        if (own && (own == dialog.pcDisp || own == dialog.pcVoice)) {
            for (int i = 0; i < own->count(); ++i)
                if (own->isTabVisible(i))
                    shootPage(dialog, own, i);
            own->setCurrentIndex(0);
            return;
        }
        if (!own) {
            save(dialog, page, name);
            return;
        }
        for (int i = 0; i < own->count(); ++i) {
            own->setCurrentIndex(i);
            save(dialog, page, i == 0 ? name : QStringLiteral("%1-%2").arg(name).arg(i + 1));
        }
        own->setCurrentIndex(0);
    }
};

// Settings with something to see on every page.
void fill(TMK &model, int protocol)
{
    uint8_t *limits = model.block(mem::LimitsBlock);
    SetU16(model.block(mem::VehicleBlock), 4, static_cast<uint16_t>(protocol));
    SetU32(limits, 0, GetU32(limits, 0) | 1u); // virtual ignition lock: its level shows
    SetU8(limits, 41, 1);                      // engine speed from the injector
    SetF32(limits, 60, 1.05f);
    // Graph and dial colours (palette indices of elements 40..54): a new
    // model paints them all in colour 0.
    const uint8_t elements[] = {15, 4, 10, 11, 8, 0, 7, 15, 15, 14, 14, 9, 9, 8, 9};
    for (const int scheme : {mem::kScheme0Offset, mem::kScheme1Offset})
        for (size_t i = 0; i < std::size(elements); ++i)
            SetU8(model.block(mem::DisplayBlock), scheme + 40 + int(i), elements[i]);
    // The four values below the big one, and the panel, as a user would set them.
    for (int i = 0; i < 4; ++i) {
        disp::SetCode(model, disp::Layout::X1, 0, i, std::array{7, 8, 10, 17}[size_t(i)]);
        disp::SetCode(model, disp::Layout::Panel, 0, i, std::array{1, 3, 5, 9}[size_t(i)]);
    }
    uint8_t *service = model.block(mem::ServiceBlock);
    SetU16(service, 108, 102);
    SetU16(service, 110, 921);
    SetU16(service, 112, static_cast<uint16_t>(-20));
    SetU16(service, 114, 120);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: editor_screenshots OUTPUT_FOLDER [--lang en|ru] [--device-type TYPE] [--protocol N]\n");
        return 2;
    }
    auto option = [&](const char *name, const QString &fallback) {
        const int at = args.indexOf(QLatin1String(name));
        return at > 0 && at + 1 < args.size() ? args[at + 1] : fallback;
    };
    const bool english = option("--lang", QStringLiteral("en")) != QLatin1String("ru");
    bool ok = true;
    const auto type = static_cast<uint16_t>(option("--device-type", QStringLiteral("0xC000")).toUInt(&ok, 0));
    const int protocol = option("--protocol", QStringLiteral("11")).toInt(); // "CAN": options, AT oil wear
    SetEnglishVersion(english);

    const int percent = qRound(app.devicePixelRatio() * 100);
    Shooter shooter{app, QDir(args[1]),
                    QString(english ? "" : "-ru") + (percent == 100 ? QString() : QStringLiteral("-%1").arg(percent))};

    // Every page the device shows; `only` limits them to one page.
    auto shootAll = [&](uint16_t deviceType, const QString &only) {
        TMK model(deviceType);
        model.DeviceType = deviceType;
        fill(model, protocol);
        model.FormatImage(9);
        model.EditSettings([&](TMK &m) {
            // The protocol chosen by hand ("Man.", the last method), so that it shows.
            const ed::FieldState method =
                ed::EvaluateField(m, Catalog(), *ed::FindField(QStringLiteral("cbProtocolSelectMeth")));
            SetU8(m.block(mem::VehicleBlock), 8, static_cast<uint8_t>(method.items.size() - 1));
            ed::InsertHotMenuItem(m, 0, 3, FindMenuItem(QStringLiteral("TankMethMenu"))->Code);
            ed::InsertHotMenuItem(m, 1, 5, FindMenuItem(QStringLiteral("ViewTrip3Menu"))->Code);
            for (int n : {8, 16, 22, 27, 55, 56, 58, 124})
                ed::SetSystemSelected(m, n, true);
            TMK_SetParamsDlg dialog(m, Catalog());
            dialog.show();
            app.processEvents();
            if (dialog.size() != kDesigned) {
                std::fprintf(stderr, "the dialog is %dx%d\n", dialog.width(), dialog.height());
                shooter.ok = false;
            }
            for (int i = 0; i < dialog.pcMain->count(); ++i)
                if (dialog.pcMain->isTabVisible(i) &&
                    (only.isEmpty() || dialog.pcMain->widget(i)->objectName() == only))
                    shooter.shootPage(dialog, dialog.pcMain, i);
            return false;
        });
    };
    shootAll(type, {});
    shootAll(0x5800, QStringLiteral("tsUniMeas")); // universal input and trim
    return ok && shooter.ok ? 0 : 1;
}
