#include "just_one.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

QString TJustOne::LockPath(const QString &key)
{
    QString folder = qEnvironmentVariable("TRIPCONF_LOCK_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir(folder).filePath(key + QStringLiteral(".lock"));
}

TJustOne::TJustOne(const QString &key)
{
    const QString path = LockPath(key);
#ifdef Q_OS_UNIX
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_owner = true;
#else
    auto *lock = new QLockFile(path);
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lockFile = lock;
        m_owner = true;
    } else {
        delete lock;
    }
#endif
}

TJustOne::~TJustOne()
{
#ifdef Q_OS_UNIX
    // The file stays: removing it could let two copies lock different files.
    if (m_fd >= 0)
        ::close(m_fd);
#else
    delete static_cast<QLockFile *>(m_lockFile);
#endif
}
