#pragma once
// Shared scaffolding of the desktop program's tests: message boxes and file
// dialogs answered by the test, a simulator on a pseudo-terminal, temporary
// folders.
#include "demo_device.h"
#include "messages.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>

#ifndef TRIPSIM_PATH
#define TRIPSIM_PATH ""
#endif

struct TMessageLog {
    QList<QPair<TMessageKind, QString>> shown;
    std::deque<TAnswer> answers; // answers to questions in order; No when empty
    QStringList fileChoices;     // paths the file dialogs return in order; cancel when empty
    int fileDialogs = 0;
    QList<TFileDialogOptions> offered; // what each file dialog was opened with

    void install()
    {
        SetMessageHook([this](TMessageKind kind, const QString &text) {
            shown.append({kind, text});
            const bool question = kind == TMessageKind::Question || kind == TMessageKind::SaveQuestion;
            if (!question || answers.empty())
                return TAnswer::No;
            const TAnswer a = answers.front();
            answers.pop_front();
            return a;
        });
        SetFileDialogHook([this](TFileDialogKind, const TFileDialogOptions &dlg) {
            ++fileDialogs;
            offered << dlg;
            return fileChoices.isEmpty() ? QString() : fileChoices.takeFirst();
        });
    }
    void clear()
    {
        shown.clear();
        answers.clear();
        fileChoices.clear();
        fileDialogs = 0;
        offered.clear();
    }
    int count(TMessageKind kind) const
    {
        int n = 0;
        for (const auto &m : shown)
            n += m.first == kind;
        return n;
    }
    QString last(TMessageKind kind) const
    {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->first == kind)
                return it->second;
        return {};
    }
};

inline QString SimulatorProgram() { return QString::fromUtf8(TRIPSIM_PATH); }

inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Function numbers of the requests the simulator logged ("#N FUNCTION HEX ...").
inline QList<int> LoggedFunctions(const QString &logPath)
{
    QList<int> functions;
    const QList<QByteArray> lines = ReadAll(logPath).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 2 && line.startsWith('#') && parts[0] != "#-")
            functions << parts[1].toInt();
    }
    return functions;
}
