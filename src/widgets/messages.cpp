#include "messages.h"

#include "language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace {
TMessageHook g_messageHook;
TFileDialogHook g_fileHook;

TAnswer showBox(QWidget *parent, TMessageKind kind, const QString &text, const QString &detail = QString(),
                const QString &action = QString())
{
    if (g_messageHook)
        return g_messageHook(kind, text);
    QMessageBox box(parent);
    box.setText(text);
    box.setInformativeText(detail);
    QAbstractButton *actionButton = nullptr;
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
        if (!action.isEmpty()) {
            actionButton = box.addButton(action, QMessageBox::ActionRole);
            box.setDefaultButton(QMessageBox::Ok);
        }
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
    const int result = box.exec();
    if (actionButton && box.clickedButton() == actionButton)
        return TAnswer::Yes;
    switch (result) {
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
bool InfoBoxOffering(QWidget *parent, const QString &text, const QString &detail, const QString &action)
{
    return showBox(parent, TMessageKind::Information, text, detail, action) == TAnswer::Yes;
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

static QString runDialog(QWidget *parent, TFileDialogKind kind, TFileDialogOptions dlg)
{
    if (dlg.folder.isEmpty() && dlg.kind)
        dlg.folder = StartFolder(*dlg.kind);
    const QString suffix = kind == TFileDialogKind::Save ? dlg.defaultSuffix : QString();
    QString chosen;
    if (g_fileHook) {
        chosen = withSuffix(g_fileHook(kind, dlg), suffix);
    } else {
        // The folder is set apart from the constructor: given there, a folder
        // that is not there (any more) would be offered as the file's name.
        QFileDialog dialog(parent, dlg.title, QString(), dlg.filter);
        dialog.setDirectory(dlg.folder);
        dialog.setDefaultSuffix(dlg.defaultSuffix);
        if (kind == TFileDialogKind::Open) {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            if (!dlg.confirmOverwrite)
                dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks in the program's words
        }
        if (!dlg.sidebarFolders.isEmpty()) {
            QList<QUrl> places = dialog.sidebarUrls();
            for (const QString &folder : std::as_const(dlg.sidebarFolders))
                if (!places.contains(QUrl::fromLocalFile(folder)))
                    places << QUrl::fromLocalFile(folder);
            dialog.setSidebarUrls(places);
        }
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = withSuffix(dialog.selectedFiles().constFirst(), suffix);
    }
    if (dlg.kind)
        RememberFolder(*dlg.kind, chosen);
    return chosen;
}

QString OpenFileDialog(QWidget *parent, const TFileDialogOptions &dlg)
{
    return runDialog(parent, TFileDialogKind::Open, dlg);
}

QString SaveFileDialog(QWidget *parent, const TFileDialogOptions &dlg)
{
    return runDialog(parent, TFileDialogKind::Save, dlg);
}
