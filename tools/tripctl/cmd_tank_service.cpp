#include "command.h"
#include "errors.h"
#include "language.h"
#include "tank_service_files.h"
#include "tmk.h"

namespace {

// "tank" and "service": the tank page's and the maintenance page's file
// buttons, run on a settings file.
struct FileKind {
    const char *command;
    void (*save)(const TMK &, const QString &);
    void (*load)(TMK &, const QString &);
};

const FileKind kTank{"tank", ed::SaveTankFile, ed::LoadTankFile};
const FileKind kService{"service", ed::SaveServiceFile, ed::LoadServiceFile};

int run(const FileKind &kind, const QStringList &argsIn)
{
    const QString command = QString::fromLatin1(kind.command);
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return UsageError(command);
    const QString out = TakeOutputOption(args);
    const QString action = args.value(0);
    const bool exporting = action == QLatin1String("export") && args.size() == 2;
    const bool importing = action == QLatin1String("import") && args.size() == 3;
    if (out.isEmpty() || (!exporting && !importing))
        return UsageError(command);
    for (int i = 1; i < args.size(); ++i)
        if (args[i].startsWith(QLatin1Char('-')))
            return UsageError(command);
    try {
        const auto model = OpenSettingsForEditing(args[1]);
        if (exporting) {
            kind.save(*model, out);
            return 0;
        }
        // As the page's load button and then OK: OUT is written only when the
        // whole file was read.
        kind.load(*model, args[2]);
        SaveEditedSettings(*model, out);
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar tankReg({QStringLiteral("tank"),
                                QStringLiteral("tank export FILE -o|--output OUT.kelmo [--lang en|ru]\n"
                                               "tank import FILE IN.kelmo -o|--output OUT.kelmg [--lang en|ru]"),
                                QStringLiteral("save the tank calibration of a settings file as the tank page "
                                               "does, or load one into it"),
                                [](const QStringList &args) { return run(kTank, args); }});
const CommandRegistrar serviceReg({QStringLiteral("service"),
                                   QStringLiteral("service export FILE -o|--output OUT.kelmt [--lang en|ru]\n"
                                                  "service import FILE IN.kelmt -o|--output OUT.kelmg [--lang en|ru]"),
                                   QStringLiteral("save the maintenance settings of a settings file as the "
                                                  "maintenance page does, or load them into it"),
                                   [](const QStringList &args) { return run(kService, args); }});

} // namespace
