#include "command.h"
#include "errors.h"
#include "journals.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"
#include "tripctl_output.h"

namespace {

const QString kPoint = QStringLiteral(".");

int runJournal(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return UsageError(QStringLiteral("journal"));
    const QString encoding = TakeOption(args, QStringLiteral("--encoding")).toLower();
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    const bool trip = TakeFlag(args, QStringLiteral("--trip"));
    const bool refuel = TakeFlag(args, QStringLiteral("--refuel"));
    const bool errors = TakeFlag(args, QStringLiteral("--errors"));
    const bool sums = TakeFlag(args, QStringLiteral("--sums"));
    const bool cp1251 = encoding == QLatin1String("cp1251") || encoding == QLatin1String("windows-1251");
    const bool badEncoding =
        !encoding.isNull() && !cp1251 && encoding != QLatin1String("utf-8") && encoding != QLatin1String("utf8");
    const int modes = int(trip) + int(refuel) + int(errors) + int(sums);
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-')) || modes != 1 || badEncoding ||
        (json && (trip || refuel)) || (!encoding.isNull() && (json || sums)))
        return UsageError(QStringLiteral("journal"));

    try {
        const auto owned = NewProgramModel();
        TMK &model = *owned;
        LoadSettingsFile(model, args[0]);
        if (errors && json) {
            PrintOut(tripout::ErrorsJson(model));
        } else if (sums) {
            PrintOut(tripout::SumsJson(model));
        } else {
            const QList<QStringList> grid = errors ? ErrorJournalExport(model, JournalFaultFormat(model), kPoint)
                                                   : JournalGrid(model, trip ? Journal::Trip : Journal::Refuel, kPoint);
            PrintOut(cp1251 ? JournalExportBytes(grid) : JournalExportText(grid).toUtf8());
        }
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar
    reg({QStringLiteral("journal"),
         QStringLiteral("journal FILE --trip|--refuel|--errors [--lang en|ru] [--encoding utf-8|cp1251]\n"
                        "journal FILE --errors --json [--lang en|ru]\n"
                        "journal FILE --sums --json [--lang en|ru]"),
         QStringLiteral("print a journal of a settings file as the viewer shows and exports it"), runJournal});

} // namespace
