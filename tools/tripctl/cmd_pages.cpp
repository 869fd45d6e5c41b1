#include "command.h"
#include "errors.h"
#include "hot_menus.h"
#include "protocol_catalog.h"
#include "systems.h"
#include "tmk.h"

namespace {

// FILE [--lang en|ru] --json; the file, or a null string after a usage error.
QString fileArgument(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return {};
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (!json || args.size() != 1 || args[0].startsWith(QLatin1String("-")))
        return {};
    return args[0];
}

int runHotMenu(const QStringList &args)
{
    const QString file = fileArgument(args);
    if (file.isNull())
        return UsageError(QStringLiteral("hotmenu"));
    try {
        const auto model = OpenSettingsForEditing(file);
        ed::CompactHotMenus(*model); // what the page's reload does
        QByteArray out = "[\n";
        for (int line = 0; line < ed::kHotMenuLines; ++line) {
            const ed::HotMenuLine codes = ed::ReadHotMenu(*model, line);
            out += "  [";
            for (int i = 0; i < ed::kHotMenuEntries; ++i) {
                const uint16_t code = codes[static_cast<size_t>(i)];
                out += (i ? ", " : "") + QByteArray("{\"code\": ") + QByteArray::number(code) +
                       ", \"name\": " + JsonString(ed::HotMenuItemName(code)) + "}";
            }
            out += line + 1 < ed::kHotMenuLines ? "],\n" : "]\n";
        }
        PrintOut(out + "]\n");
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

int runSystems(const QStringList &args)
{
    const QString file = fileArgument(args);
    if (file.isNull())
        return UsageError(QStringLiteral("systems"));
    try {
        const auto model = OpenSettingsForEditing(file);
        QByteArray out = "{\"available\": [";
        const std::vector<ed::TBlockInfo> systems = ed::SystemCatalog(Catalog());
        for (size_t i = 0; i < systems.size(); ++i)
            out += QByteArray(i ? ",\n  " : "\n  ") + "{\"number\": " + QByteArray::number(systems[i].Number) +
                   ", \"name\": " + JsonString(systems[i].Name) +
                   ", \"selected\": " + (ed::SystemSelected(*model, systems[i].Number) ? "true" : "false") + "}";
        out += systems.empty() ? "]" : "\n]";
        out += ", \"show\": " + QByteArray::number(ed::SystemsShow(*model)) +
               ", \"showList\": " + QByteArray::number(ed::SystemsShowList(*model)) + "}\n";
        PrintOut(out);
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar hotMenuReg(
    {QStringLiteral("hotmenu"), QStringLiteral("hotmenu FILE [--lang en|ru] --json"),
     QStringLiteral("show the four hot menus of a settings file as the editor's page shows them"), runHotMenu});
const CommandRegistrar systemsReg(
    {QStringLiteral("systems"), QStringLiteral("systems FILE [--lang en|ru] --json"),
     QStringLiteral("show the additional systems the device supports, which are selected, and the page's two "
                    "show choices"),
     runSystems});

} // namespace
