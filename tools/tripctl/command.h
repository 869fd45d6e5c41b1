#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// A tripctl command. Each command file registers itself with a static
// CommandRegistrar, so adding one needs no edit elsewhere.
struct Command {
    QString name;
    QString usage;                                   // "dump FILE [--lang en|ru]"; several forms on several lines
    QString summary;                                 // one line
    std::function<int(const QStringList &args)> run; // args after the command name
};

std::vector<Command> &Commands();

struct CommandRegistrar {
    explicit CommandRegistrar(Command c) { Commands().push_back(std::move(c)); }
};

class TMK;

// Helpers shared by the commands.
// A new settings model made as the desktop program makes it, while the language
// is still Russian (so its default maintenance names are the Russian ones);
// the language in force before the call is kept.
std::unique_ptr<TMK> NewProgramModel();
void PrintError(const QString &text);                     // "tripctl: text" on stderr
void PrintOut(const QByteArray &bytes);                   // raw bytes on stdout
bool ParseDeviceType(const QString &text, uint16_t &out); // decimal or 0x-hex
// Applies "--lang en|ru" (removed from args); false on a bad value.
bool TakeLanguageOption(QStringList &args);
// Removes "--name VALUE" from args; returns VALUE or a null string.
QString TakeOption(QStringList &args, const QString &name);
// Removes "-o OUT" or "--output OUT" from args; returns OUT or a null string.
QString TakeOutputOption(QStringList &args);
bool TakeFlag(QStringList &args, const QString &name);
// Prints the command's usage on stderr (after the reason, if any); returns 2.
int UsageError(const QString &command, const QString &reason = {});

// A settings file loaded as the program loads it and opened as the editor opens it.
std::unique_ptr<TMK> OpenSettingsForEditing(const QString &path);
// Packs the edited blocks as the editor's OK does and saves the settings file.
void SaveEditedSettings(TMK &model, const QString &path);
