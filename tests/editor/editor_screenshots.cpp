// Saves a picture of the corrections, sources and limits pages of the settings
// editor, on a device and protocol that show most of their controls:
//   editor_screenshots OUTPUT_FOLDER [--lang en|ru] [--device-type TYPE] [--protocol N]
// The names end in "-ru" for Russian and in "-150" when the screen is scaled,
// as with QT_SCALE_FACTOR=1.5. Under Xvfb give it a screen large enough for the
// dialog, e.g. xvfb-run -a -s "-screen 0 1920x1200x24".
#include "blocks.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "setparamsdlg.h"
#include "tmk.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: editor_screenshots OUTPUT_FOLDER [--lang en|ru] [--device-type TYPE] [--protocol N]\n");
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
    TMK model(type);
    model.DeviceType = type;
    uint8_t *limits = model.block(mem::LimitsBlock);
    SetU16(model.block(mem::VehicleBlock), 4, static_cast<uint16_t>(protocol));
    SetU32(limits, 0, GetU32(limits, 0) | 1u); // virtual ignition lock: its level shows
    SetU8(limits, 41, 1);                       // engine speed from the injector
    SetF32(limits, 60, 1.05f);
    model.FormatImage(9);

    const QDir out(args[1]);
    const int percent = qRound(app.devicePixelRatio() * 100);
    const QString suffix = QString(english ? "" : "-ru") + (percent == 100 ? QString() : QStringLiteral("-%1").arg(percent));
    model.EditSettings([&](TMK &m) {
        // The protocol chosen by hand ("Man.", the last method), so that it shows.
        const ed::FieldState method = ed::EvaluateField(m, Catalog(), *ed::FindField(QStringLiteral("cbProtocolSelectMeth")));
        SetU8(m.block(mem::VehicleBlock), 8, static_cast<uint8_t>(method.items.size() - 1));
        TMK_SetParamsDlg dialog(m, Catalog());
        dialog.show();
        const char *pages[] = {"corr", "meth", "lim"};
        for (int page = 0; page < 3; ++page) {
            dialog.pcMain->setCurrentIndex(page);
            app.processEvents();
            const QString file = out.filePath(QStringLiteral("editor-%1%2.png").arg(QLatin1String(pages[page]), suffix));
            ok = dialog.grab().save(file, "PNG", 0) && ok;
        }
        return false;
    });
    return ok ? 0 : 1;
}
