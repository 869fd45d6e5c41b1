#pragma once
#include "file_folders.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// The program's message boxes and file dialogs. Every box goes through a hook
// so that tests (and scripted runs) can answer without a modal loop.
enum class TMessageKind {
    Error,
    Information,
    Question,     // Yes / No
    SaveQuestion, // Save / Discard / Cancel, before an action that would drop unsaved changes
};

// An answer. For a save question Yes means Save and No means Discard; Cancel
// (also Escape and the close box) means "do not go on".
enum class TAnswer { Yes, No, Cancel };

// Returns the answer of a question; ignored for other kinds.
using TMessageHook = std::function<TAnswer(TMessageKind kind, const QString &text)>;
void SetMessageHook(TMessageHook hook); // an empty hook restores the real boxes

void ErrorBox(QWidget *parent, const QString &text);
// `detail` is shown under the text in smaller words; may be empty.
void InfoBox(QWidget *parent, const QString &text, const QString &detail = QString());
bool AskYesNo(QWidget *parent, const QString &text); // only Yes proceeds
TAnswer AskSaveDiscardCancel(QWidget *parent, const QString &text);
// An information box with a button for a further step besides OK: true when
// the user pressed that button. A hook answers Yes for it.
bool InfoBoxOffering(QWidget *parent, const QString &text, const QString &detail, const QString &action);

enum class TFileDialogKind { Open, Save };

struct TFileDialogOptions {
    QString filter{};        // Qt syntax: "Description (*.ext)"
    QString defaultSuffix{}; // appended when the typed name has none
    QString folder{};        // where the dialog starts; empty: the start folder of `kind`
    // The kind of file: the dialog starts where that kind was last used, and
    // a chosen file's folder is remembered for the next time.
    std::optional<TFileKind> kind{};
    QString title{};               // the window title; empty: the system's
    QStringList sidebarFolders{};  // offered beside the standard places
    bool confirmOverwrite = false; // the save dialog asks before replacing a file
};

// Returns the chosen path, or an empty string when the user cancelled. It
// gets the options with the folder the dialog would start in.
using TFileDialogHook = std::function<QString(TFileDialogKind kind, const TFileDialogOptions &dlg)>;
void SetFileDialogHook(TFileDialogHook hook);
// The open dialog requires an existing file; the save dialog leaves the
// rewrite question to the caller unless told otherwise.
QString OpenFileDialog(QWidget *parent, const TFileDialogOptions &dlg);
QString SaveFileDialog(QWidget *parent, const TFileDialogOptions &dlg);

// Turns a "Description|*.a;*.b|..." filter into Qt's "Description (*.a *.b);;..." form.
QString QtFileFilter(const QString &filter);
