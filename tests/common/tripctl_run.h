#pragma once
// Runs the built tripctl (TRIPCTL_PATH) and keeps what it said.
#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun {
    int exitCode = -1; // -1: it did not finish in time, or crashed
    QByteArray out;
    QByteArray err;

    QJsonDocument json() const { return QJsonDocument::fromJson(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

inline void StartTripctl(QProcess &p, const QStringList &args) { p.start(QStringLiteral(TRIPCTL_PATH), args); }

// Waits for a started tripctl and collects its exit status and output.
inline ToolRun FinishTripctl(QProcess &p, int timeoutMs = 30000)
{
    ToolRun r;
    if (!p.waitForFinished(timeoutMs))
        return r;
    if (p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline ToolRun RunTripctl(const QStringList &args)
{
    QProcess p;
    StartTripctl(p, args);
    return FinishTripctl(p);
}
