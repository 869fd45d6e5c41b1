#pragma once
#include <QString>

// The kinds of file the program's dialogs open and save. Each remembers the
// folder it was last used in, so that its dialog starts where the user works.
// The editor and the journals viewer know nothing of the ini file: the program
// fills the folders in from it at start and keeps them there at the end.
enum class TFileKind { Settings, Tank, Maintenance, JournalExport };
inline constexpr TFileKind kFileKinds[] = {TFileKind::Settings, TFileKind::Tank, TFileKind::Maintenance,
                                           TFileKind::JournalExport};

// The name a kind's folder is kept under between runs.
QString FileKindKey(TFileKind kind);

// Where a dialog of this kind starts: the folder of its last use while that
// folder exists, else the user's documents folder, else the home folder.
QString StartFolder(TFileKind kind);
// The folder that holds `path`, a file just chosen, becomes the kind's.
void RememberFolder(TFileKind kind, const QString &path);

// The folder remembered for a kind (empty: none), for keeping between runs.
QString RememberedFolder(TFileKind kind);
void SetRememberedFolder(TFileKind kind, const QString &folder);
