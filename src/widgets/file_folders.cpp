#include "file_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>

namespace {
std::array<QString, std::size(kFileKinds)> g_folders;

QString &slot(TFileKind kind) { return g_folders[static_cast<size_t>(kind)]; }
} // namespace

QString FileKindKey(TFileKind kind)
{
    switch (kind) {
    case TFileKind::Settings: return QStringLiteral("Settings");
    case TFileKind::Tank: return QStringLiteral("Tank");
    case TFileKind::Maintenance: return QStringLiteral("Maintenance");
    case TFileKind::JournalExport: return QStringLiteral("JournalExport");
    }
    return QString();
}

QString StartFolder(TFileKind kind)
{
    const QString last = slot(kind);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    // A documents folder that the system names but nobody made is no place to start.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void RememberFolder(TFileKind kind, const QString &path)
{
    if (!path.isEmpty())
        slot(kind) = QFileInfo(path).absolutePath();
}

QString RememberedFolder(TFileKind kind) { return slot(kind); }

void SetRememberedFolder(TFileKind kind, const QString &folder) { slot(kind) = folder; }
