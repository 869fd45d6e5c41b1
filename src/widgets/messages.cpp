#include "messages.h"

#include "language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace {
TMessageHook g_messageHook;
TFileDialogHook g_fileHook;

TAnswer showBox(QWidget *parent, TMessageKind kind, const QString &text, const QString &detail = QString())
{
    if (g_messageHook)
        return g_messageHook(kind, text);
    QMessageBox box(parent);
    box.setText(text);
    box.setInformativeText(detail);
    switch (kind) {
    case TMessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(LangText("Error", "Ошибка"));
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(LangText("Information", "Информация"));
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Question:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(LangText("Confirmation", "Подтверждение"));
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case TMessageKind::SaveQuestion:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(LangText("Confirmation", "Подтверждение"));
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        // Qt's own Russian "Отклонить" reads as "reject"; the usual words are clearer.
        box.button(QMessageBox::Discard)->setText(LangText("Discard", "Не сохранять"));
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
    case QMessageBox::Save: return TAnswer::Yes;
    case QMessageBox::No:
    case QMessageBox::Discard: return TAnswer::No;
    default:
        // Escape or the close box: a Yes/No box has no Cancel, so they mean No there.
        return kind == TMessageKind::SaveQuestion ? TAnswer::Cancel : TAnswer::No;
    }
}

QString withSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}
} // namespace

void SetMessageHook(TMessageHook hook) { g_messageHook = std::move(hook); }
void SetFileDialogHook(TFileDialogHook hook) { g_fileHook = std::move(hook); }

void ErrorBox(QWidget *parent, const QString &text) { showBox(parent, TMessageKind::Error, text); }
void InfoBox(QWidget *parent, const QString &text, const QString &detail)
{
    showBox(parent, TMessageKind::Information, text, detail);
}
bool AskYesNo(QWidget *parent, const QString &text)
{
    return showBox(parent, TMessageKind::Question, text) == TAnswer::Yes;
}
TAnswer AskSaveDiscardCancel(QWidget *parent, const QString &text)
{
    return showBox(parent, TMessageKind::SaveQuestion, text);
}

QString QtFileFilter(const QString &filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        // A description that already lists its patterns keeps them once.
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        out << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return out.join(QStringLiteral(";;"));
}

static QString runDialog(QWidget *parent, TFileDialogKind kind, const TFileDialogOptions &dlg)
{
    if (g_fileHook)
        return withSuffix(g_fileHook(kind, dlg.folder), kind == TFileDialogKind::Save ? dlg.defaultSuffix : QString());
    QFileDialog dialog(parent, QString(), dlg.folder, dlg.filter);
    dialog.setDefaultSuffix(dlg.defaultSuffix);
    if (kind == TFileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks in the program's words
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    return kind == TFileDialogKind::Save ? withSuffix(chosen, dlg.defaultSuffix) : chosen;
}

QString OpenFileDialog(QWidget *parent, const TFileDialogOptions &dlg)
{
    return runDialog(parent, TFileDialogKind::Open, dlg);
}

QString SaveFileDialog(QWidget *parent, const TFileDialogOptions &dlg)
{
    return runDialog(parent, TFileDialogKind::Save, dlg);
}
