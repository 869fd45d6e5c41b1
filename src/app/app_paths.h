#pragma once
#include <QString>

// Where the program keeps its files.
QString ProgramFolder();   // the folder of the executable
QString ProgramFileName(); // the executable's file name without its folder

// The ini file: the program's path with ".ini" in place of its extension.
// When the program's folder cannot be written (an installed program) the file
// lives under the user's configuration folder with the same name instead.
// SetIniPath overrides both for this run (tests, --ini).
QString IniFilePath();
void SetIniPath(const QString &path);

bool FolderWritable(const QString &folder);
