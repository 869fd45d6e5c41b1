#include "command.h"
#include "errors.h"
#include "previews.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QSaveFile>
#include <algorithm>
#include <random>

namespace {

bool takeInt(QStringList &args, const QString &option, int min, int max, int &value, QString &error)
{
    const QString text = TakeOption(args, option);
    if (text.isNull())
        return true;
    bool ok = false;
    value = text.toInt(&ok);
    if (!ok || value < min || value > max) {
        error = QStringLiteral("%1 takes %2..%3, not \"%4\"").arg(option).arg(min).arg(max).arg(text);
        return false;
    }
    return true;
}

int runPreview(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return UsageError(QStringLiteral("preview"));
    const QString screenName = TakeOption(args, QStringLiteral("--screen"));
    const QString out = TakeOutputOption(args);
    if (screenName.isNull() || out.isEmpty())
        return UsageError(QStringLiteral("preview"));
    const std::optional<pv::Screen> screen = pv::ScreenNamed(screenName);
    if (!screen)
        return UsageError(QStringLiteral("preview"),
                          QStringLiteral("--screen takes one of %1, not \"%2\"")
                              .arg(pv::ScreenNames().join(QStringLiteral(", ")), screenName));
    int display = 0, scheme = 0, param = 0;
    QString error;
    const bool hasParam =
        args.contains(QStringLiteral("--param")) ||
        std::any_of(args.begin(), args.end(), [](const QString &a) { return a.startsWith(QLatin1String("--param=")); });
    if (!takeInt(args, QStringLiteral("--display"), 0, pv::DisplayCount(*screen) - 1, display, error) ||
        !takeInt(args, QStringLiteral("--scheme"), 0, 1, scheme, error) ||
        !takeInt(args, QStringLiteral("--param"), 1, 255, param, error))
        return UsageError(QStringLiteral("preview"), error);
    if (hasParam && *screen != pv::Screen::Single)
        return UsageError(QStringLiteral("preview"), QStringLiteral("--param belongs to --screen single"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("-")))
        return UsageError(QStringLiteral("preview"));
    try {
        const auto model = OpenSettingsForEditing(args[0]);
        pv::TPreviewCanvas canvas;
        const uint32_t seed = std::random_device{}();
        if (!pv::DrawEditorPreview(canvas, *model, Catalog().capabilities(), *screen, display, scheme,
                                   hasParam ? std::optional<int>(param) : std::nullopt, seed)) {
            PrintError(QStringLiteral("this device has no parameter %1; nothing was written").arg(param));
            return 1;
        }
        // Written whole or not at all: a failed save leaves no partial file.
        QSaveFile file(out);
        if (!file.open(QIODevice::WriteOnly) || !canvas.image().save(&file, "PNG") || !file.commit()) {
            PrintError(QStringLiteral("cannot write %1").arg(out));
            return 1;
        }
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar previewReg(
    {QStringLiteral("preview"),
     QStringLiteral("preview FILE --screen NAME [--display N] [--param N] [--scheme 0|1] [--lang en|ru] -o OUT.png"),
     QStringLiteral("draw a device screen preview of a settings file as the editor draws it (320x240 PNG); NAME: "
                    "strip, menu, dials, graph, single, x1, x4, x6, x9, list"),
     runPreview});

} // namespace
