#include "tripctl_output.h"

#include "field_state.h"
#include "hot_menus.h"
#include "journals.h"
#include "language.h"
#include "protocol_catalog.h"
#include "systems.h"
#include "tmk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <optional>

namespace tripout {

namespace {

using ed::ControlKind;
using ed::FieldState;

const QString kPoint = QStringLiteral(".");

QByteArray jsonNumber(double v, int decimals) { return QByteArray::number(v, 'f', decimals); }

bool isChoice(const FieldState &s)
{
    return s.row->kind == ControlKind::RadioGroup || s.row->kind == ControlKind::ComboBox;
}

// "Speed, km/h" → caption "Speed", unit "km/h".
std::pair<QString, QString> splitUnit(const QString &caption)
{
    const int comma = caption.lastIndexOf(QLatin1Char(','));
    if (comma <= 0)
        return {caption.trimmed(), {}};
    return {caption.left(comma).trimmed(), caption.mid(comma + 1).trimmed()};
}

QByteArray jsonValue(const QJsonArray &array) { return QJsonDocument(array).toJson(QJsonDocument::Compact); }

QByteArray pairs(const QList<QPair<QString, QString>> &rows)
{
    QJsonArray out;
    for (const auto &row : rows)
        out.append(QJsonArray{row.first, row.second});
    return jsonValue(out);
}

} // namespace

QByteArray JsonString(const QString &text)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact); // ["..."]
    return wrapped.mid(1, wrapped.size() - 2);
}

QByteArray ShownJson(const FieldState &s)
{
    switch (s.row->kind) {
    case ControlKind::SpinEdit: return jsonNumber(s.number, s.decimals);
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox: return s.index ? QByteArray::number(*s.index) : QByteArray("null");
    case ControlKind::CheckBox: return s.checked ? "true" : "false";
    case ControlKind::TextEdit:
    case ControlKind::DateEdit: return JsonString(s.text);
    }
    return "null";
}

QString ShownText(const FieldState &s)
{
    switch (s.row->kind) {
    case ControlKind::SpinEdit: return QString::number(s.number, 'f', s.decimals);
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox: return s.index ? s.items[*s.index] : LangText("(none)", "(нет)");
    case ControlKind::CheckBox: return s.checked ? LangText("yes", "да") : LangText("no", "нет");
    case ControlKind::TextEdit:
    case ControlKind::DateEdit: return s.text;
    }
    return {};
}

QByteArray SettingsJson(const std::vector<FieldState> &states)
{
    QByteArray out = "[\n";
    for (size_t i = 0; i < states.size(); ++i) {
        const FieldState &s = states[i];
        out += "  {\"name\": " + JsonString(QLatin1String(s.row->name)) +
               ", \"page\": " + JsonString(QLatin1String(ed::PageName(s.row->page))) +
               ", \"caption\": " + JsonString(s.caption) + ", \"visible\": " + (s.visible ? "true" : "false") +
               ", \"value\": " + ShownJson(s);
        if (s.row->kind == ControlKind::SpinEdit) {
            const int d = s.decimals;
            out += ", \"min\": " + jsonNumber(s.min, d) + ", \"max\": " + jsonNumber(s.max, d) +
                   ", \"step\": " + jsonNumber(s.step, d);
        }
        if (isChoice(s)) {
            QByteArray items;
            for (const QString &item : s.items)
                items += (items.isEmpty() ? "" : ", ") + JsonString(item);
            out += ", \"items\": [" + items + "]";
        }
        if (s.visible && !s.enabled)
            out += ", \"enabled\": false";
        out += i + 1 < states.size() ? "},\n" : "}\n";
    }
    return out + "]\n";
}

QByteArray SettingsTable(const std::vector<FieldState> &states)
{
    qsizetype width = 0;
    for (const FieldState &s : states)
        if (s.visible)
            width = std::max(width, splitUnit(s.caption).first.size());
    QString out;
    std::optional<ed::Page> page;
    for (const FieldState &s : states) {
        if (!s.visible)
            continue;
        if (page != s.row->page) {
            page = s.row->page;
            out +=
                (out.isEmpty() ? QString() : QStringLiteral("\n")) + ed::PageCaption(s.row->page) + QLatin1Char('\n');
        }
        const auto [caption, unit] = splitUnit(s.caption);
        QString line = QStringLiteral("  ") + caption.leftJustified(width + 2) + ShownText(s);
        if (s.row->kind == ControlKind::SpinEdit && !unit.isEmpty())
            line += QLatin1Char(' ') + unit;
        if (!s.enabled)
            line += LangText("  (disabled)", "  (недоступно)");
        out += line + QLatin1Char('\n');
    }
    return out.toUtf8();
}

QByteArray HotMenusJson(TMK &model)
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

QByteArray SystemsJson(const TMK &model)
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

QByteArray ErrorsJson(TMK &model)
{
    const int style = JournalFaultFormat(model);
    const uint8_t *errorLog = model.block(mem::ErrorLogBlock);
    const FreezeFramePids pids = FreezeFramePids::read(errorLog);
    QByteArray out = "[\n";
    for (int i = 0; i < journal::kErrorRecords; ++i) {
        const QStringList row = ErrorListRow(model, i, style);
        out += "  {\"index\": " + QByteArray::number(i) + ", \"time\": " + JsonString(row[1]) +
               ", \"code\": " + JsonString(row[2]) +
               ", \"freezeFrame\": " + pairs(FreezeFrameRows(pids, FreezeFrame::read(errorLog, i), kPoint)) + "}" +
               (i + 1 < journal::kErrorRecords ? ",\n" : "\n");
    }
    return out + "]\n";
}

QByteArray SumsJson(const TMK &model)
{
    QByteArray out = "{\n";
    const auto &groups = SumGroups();
    for (size_t k = 0; k < groups.size(); ++k)
        out += "  \"" + QByteArray(groups[k].table) + "\": " + pairs(SumRows(model, groups[k].id, kPoint)) +
               (k + 1 < groups.size() ? ",\n" : "\n");
    return out + "}\n";
}

} // namespace tripout
