#include "command.h"
#include "errors.h"
#include "tmk.h"
#include "tripctl_output.h"

#include <functional>

namespace {

// "COMMAND FILE [--lang en|ru] --json": the file opened as the editor opens
// it, and what `json` makes of it on stdout.
int showPage(const QString &command, const QStringList &argsIn, const std::function<QByteArray(TMK &)> &json)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args) || !TakeFlag(args, QStringLiteral("--json")) || args.size() != 1 ||
        args[0].startsWith(QLatin1String("-")))
        return UsageError(command);
    try {
        const auto model = OpenSettingsForEditing(args[0]);
        PrintOut(json(*model));
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar hotMenuReg(
    {QStringLiteral("hotmenu"), QStringLiteral("hotmenu FILE [--lang en|ru] --json"),
     QStringLiteral("show the four hot menus of a settings file as the editor's page shows them"),
     [](const QStringList &args) { return showPage(QStringLiteral("hotmenu"), args, tripout::HotMenusJson); }});
const CommandRegistrar systemsReg(
    {QStringLiteral("systems"), QStringLiteral("systems FILE [--lang en|ru] --json"),
     QStringLiteral("show the additional systems the device supports, which are selected, and the page's two "
                    "show choices"),
     [](const QStringList &args) { return showPage(QStringLiteral("systems"), args, tripout::SystemsJson); }});

} // namespace
