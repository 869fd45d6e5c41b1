#include "blocks.h"
#include "command.h"
#include "errors.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"
#include "tripctl_output.h"

#include <algorithm>
#include <array>

namespace {

using ed::ControlKind;
using ed::FieldState;
using tripout::JsonString;
using tripout::ShownJson;
using tripout::ShownText;

int runSettings(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return UsageError(QStringLiteral("settings"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("-")))
        return UsageError(QStringLiteral("settings"));
    try {
        const auto model = OpenSettingsForEditing(args[0]);
        const std::vector<FieldState> states = ed::EvaluateSchema(*model, Catalog());
        PrintOut(json ? tripout::SettingsJson(states) : tripout::SettingsTable(states));
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

// One NAME=VALUE entered into its control and left, as the dialog stores it.
// Returns the refusal, empty when stored.
QString applyAssignment(TMK &model, const QString &assignment)
{
    const int eq = assignment.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? assignment : assignment.left(eq);
    const QString value = eq < 0 ? QString() : assignment.mid(eq + 1).trimmed();
    const ed::FieldRow *row = ed::FindField(name);
    if (!row)
        return QStringLiteral("unknown control \"%1\"; tripctl settings FILE --json lists them").arg(name);
    const FieldState s = ed::EvaluateField(model, Catalog(), *row);
    if (eq < 0)
        return QStringLiteral("%1 needs a value: NAME=VALUE").arg(name);
    bool ok = false;
    QString refusal;
    try {
        switch (row->kind) {
        case ControlKind::SpinEdit: {
            const double v = value.toDouble(&ok);
            refusal = ok ? ed::RefuseNumber(s, v)
                         : QStringLiteral("%1 (\"%2\") takes a number, not \"%3\"").arg(name, s.caption, value);
            if (refusal.isEmpty())
                ed::StoreNumber(model, Catalog(), *row, v);
            break;
        }
        case ControlKind::RadioGroup:
        case ControlKind::ComboBox: {
            const int index = value.toInt(&ok);
            refusal = ok ? ed::RefuseItem(s, index)
                         : QStringLiteral("%1 (\"%2\") takes an item index, not \"%3\"").arg(name, s.caption, value);
            if (refusal.isEmpty())
                ed::StoreItem(model, Catalog(), *row, index);
            break;
        }
        case ControlKind::CheckBox:
            refusal = ed::RefuseUnavailable(s);
            if (refusal.isEmpty() && value != QLatin1String("0") && value != QLatin1String("1"))
                refusal = QStringLiteral("%1 (\"%2\") takes 0 (unchecked) or 1 (checked), not \"%3\"")
                              .arg(name, s.caption, value);
            if (refusal.isEmpty())
                ed::StoreChecked(model, Catalog(), *row, value == QLatin1String("1"));
            break;
        case ControlKind::TextEdit:
            refusal = ed::RefuseText(s, value);
            if (refusal.isEmpty())
                ed::StoreText(model, Catalog(), *row, value);
            break;
        case ControlKind::DateEdit:
            refusal = ed::RefuseDate(s, value);
            if (refusal.isEmpty())
                ed::StoreDate(model, *row, value);
            break;
        }
    } catch (const TripError &e) {
        refusal = QStringLiteral("%1: %2").arg(name, e.text());
    }
    return refusal;
}

int runSet(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return UsageError(QStringLiteral("set"));
    const QString out = TakeOutputOption(args);
    if (out.isEmpty() || args.size() < 2 || args[0].startsWith(QLatin1String("-")))
        return UsageError(QStringLiteral("set"));
    try {
        const auto model = OpenSettingsForEditing(args[0]);
        for (int i = 1; i < args.size(); ++i) {
            const QString refusal = applyAssignment(*model, args[i]);
            if (!refusal.isEmpty()) {
                PrintError(refusal + LangText("; nothing was saved", "; ничего не сохранено"));
                return 1;
            }
        }
        SaveEditedSettings(*model, out);
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

struct Opened {
    std::vector<FieldState> states; // row, caption and items stay valid after the catalog is rebuilt
    std::array<uint8_t, mem::kModelSize> blocks{};
};

Opened openAndEvaluate(const QString &path)
{
    const auto model = OpenSettingsForEditing(path);
    return {ed::EvaluateSchema(*model, Catalog()), model->blocks()};
}

void markField(std::array<uint8_t, mem::kModelSize> &covered, const ed::FieldRow &row)
{
    const int at = mem::kBlockOffset[row.at.field.block] + row.at.field.offset;
    if (row.type == ed::FieldType::Bit) {
        covered[static_cast<size_t>(at) + static_cast<size_t>(row.at.bit / 8)] |=
            static_cast<uint8_t>(1u << (row.at.bit % 8));
        return;
    }
    for (int k = 0; k < ed::RowWidth(row); ++k)
        covered[static_cast<size_t>(at) + static_cast<size_t>(k)] = 0xFF;
}

int runDiff(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args))
        return UsageError(QStringLiteral("diff"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 2 || args[0].startsWith(QLatin1String("-")) || args[1].startsWith(QLatin1String("-")))
        return UsageError(QStringLiteral("diff"));
    try {
        const Opened a = openAndEvaluate(args[0]);
        const Opened b = openAndEvaluate(args[1]);
        QList<QByteArray> entries;
        QString text;
        std::array<uint8_t, mem::kModelSize> covered{};
        for (size_t i = 0; i < a.states.size(); ++i) {
            const FieldState &from = a.states[i];
            const FieldState &to = b.states[i];
            if (ShownJson(from) == ShownJson(to))
                continue;
            markField(covered, *from.row);
            entries << "{\"name\": " + JsonString(QLatin1String(from.row->name)) +
                           ", \"caption\": " + JsonString(to.caption) + ", \"from\": " + ShownJson(from) +
                           ", \"to\": " + ShownJson(to) + "}";
            text += QStringLiteral("%1: %2 → %3\n").arg(to.caption, ShownText(from), ShownText(to));
        }
        // Bytes that no listed field accounts for, as ranges per block.
        for (int block = 1; block <= mem::kBlockCount; ++block) {
            const int base = mem::kBlockOffset[block];
            int first = -1;
            for (int off = 0; off <= mem::kBlockSize[block]; ++off) {
                const size_t at = static_cast<size_t>(base) + static_cast<size_t>(off);
                const bool differs = off < mem::kBlockSize[block] && ((a.blocks[at] ^ b.blocks[at]) & ~covered[at]);
                if (differs && first < 0)
                    first = off;
                if (!differs && first >= 0) {
                    const int last = off - 1;
                    entries << "{\"block\": " + JsonString(QLatin1String(mem::BlockName(block))) +
                                   ", \"first\": " + QByteArray::number(first) +
                                   ", \"last\": " + QByteArray::number(last) + "}";
                    text += QStringLiteral("%1 %2\n").arg(
                        QLatin1String(mem::BlockName(block)),
                        first == last ? QString::number(first) : QStringLiteral("%1..%2").arg(first).arg(last));
                    first = -1;
                }
            }
        }
        if (json) {
            QByteArray out = "[\n";
            for (int i = 0; i < entries.size(); ++i)
                out += "  " + entries[i] + (i + 1 < entries.size() ? ",\n" : "\n");
            PrintOut(out + "]\n");
        } else {
            PrintOut(text.toUtf8());
        }
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar settingsReg(
    {QStringLiteral("settings"), QStringLiteral("settings FILE [--lang en|ru] [--json]"),
     QStringLiteral(
         "show every single-field control of the settings editor for a settings file, as the editor shows it"),
     runSettings});
const CommandRegistrar
    setReg({QStringLiteral("set"), QStringLiteral("set FILE NAME=VALUE... -o OUT [--lang en|ru]"),
            QStringLiteral("enter values into editor controls as a user would, and save the result to OUT"), runSet});
const CommandRegistrar diffReg({QStringLiteral("diff"), QStringLiteral("diff A B [--lang en|ru] [--json]"),
                                QStringLiteral("list the editor fields, then any other bytes, that differ between "
                                               "two settings files"),
                                runDiff});

} // namespace
