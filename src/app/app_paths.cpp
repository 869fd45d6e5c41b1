#include "app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
QString g_iniOverride;
}

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QString ProgramFileName() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

bool FolderWritable(const QString &folder)
{
    // Asking the file system beats reading permission bits: read-only mounts
    // and access control lists are taken into account.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-probe-XXXXXX")));
    return probe.open();
}

void SetIniPath(const QString &path)
{
    g_iniOverride = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

QString IniFilePath()
{
    if (!g_iniOverride.isEmpty())
        return g_iniOverride;
    const QString name = QFileInfo(ProgramFileName()).completeBaseName() + QStringLiteral(".ini");
    const QString beside = QDir(ProgramFolder()).filePath(name);
    if (QFileInfo(beside).isWritable() || (!QFileInfo::exists(beside) && FolderWritable(ProgramFolder())))
        return beside;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("tripconf/") + name);
}
