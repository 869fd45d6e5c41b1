#include "command.h"
#include "errors.h"
#include "hot_menus.h"
#include "protocol_catalog.h"
#include "systems.h"
#include "tmk.h"

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

QByteArray hotMenuJson(TMK &model)
{
    ed::CompactHotMenus(model); // what the page's reload does
    QByteArray out = "[\n";
    for (int line = 0; line < ed::kHotMenuLines; ++line) {
        const ed::HotMenuLine codes = ed::ReadHotMenu(model, line);
        out += "  [";
        for (int i = 0; i < ed::kHotMenuEntries; ++i) {
            const uint16_t code = codes[static_cast<size_t>(i)];
            out += (i ? ", " : "") + QByteArray("{\"code\": ") + QByteArray::number(code) +
                   ", \"name\": " + JsonString(ed::HotMenuItemName(code)) + "}";
        }
        out += line + 1 < ed::kHotMenuLines ? "],\n" : "]\n";
    }
    return out + "]\n";
}

QByteArray systemsJson(TMK &model)
{
    QByteArray out = "{\"available\": [";
    const std::vector<ed::TBlockInfo> systems = ed::SystemCatalog(Catalog());
    for (size_t i = 0; i < systems.size(); ++i)
        out += QByteArray(i ? ",\n  " : "\n  ") + "{\"number\": " + QByteArray::number(systems[i].Number) +
               ", \"name\": " + JsonString(systems[i].Name) +
               ", \"selected\": " + (ed::SystemSelected(model, systems[i].Number) ? "true" : "false") + "}";
    out += systems.empty() ? "]" : "\n]";
    out += ", \"show\": " + QByteArray::number(ed::SystemsShow(model)) +
           ", \"showList\": " + QByteArray::number(ed::SystemsShowList(model)) + "}\n";
    return out;
}

const CommandRegistrar hotMenuReg(
    {QStringLiteral("hotmenu"), QStringLiteral("hotmenu FILE [--lang en|ru] --json"),
     QStringLiteral("show the four hot menus of a settings file as the editor's page shows them"),
     [](const QStringList &args) { return showPage(QStringLiteral("hotmenu"), args, hotMenuJson); }});
const CommandRegistrar systemsReg(
    {QStringLiteral("systems"), QStringLiteral("systems FILE [--lang en|ru] --json"),
     QStringLiteral("show the additional systems the device supports, which are selected, and the page's two "
                    "show choices"),
     [](const QStringList &args) { return showPage(QStringLiteral("systems"), args, systemsJson); }});

} // namespace
