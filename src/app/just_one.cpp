#include "just_one.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
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
    if (m_fd < 0) {
        m_error = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(m_fd);
        m_fd = -1;
        if (err == EWOULDBLOCK) {
            m_state = State::HeldByAnother;
        } else {
            // e.g. a file system without locks
            m_error = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
        }
        return;
    }
    m_state = State::Owner;
#else
    auto *lock = new QLockFile(path);
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lockFile = lock;
        m_state = State::Owner;
    } else {
        if (lock->error() == QLockFile::LockFailedError)
            m_state = State::HeldByAnother;
        else
            m_error = path + QStringLiteral(": error %1").arg(int(lock->error()));
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

QString TInstanceChannel::SocketPath(const QString &key)
{
#ifdef Q_OS_UNIX
    QString path = TJustOne::LockPath(key);
    path.chop(int(qstrlen(".lock")));
    return path + QStringLiteral(".socket");
#else
    return key; // a named pipe of this session
#endif
}

TInstanceChannel::TInstanceChannel(QObject *parent) : QObject(parent) {}

TInstanceChannel::~TInstanceChannel() = default;

bool TInstanceChannel::Listen(const QString &key)
{
    const QString path = SocketPath(key);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the holder of the lock gets here: a socket left over belongs to a
    // copy that died.
    QLocalServer::removeServer(path);
    if (!m_server->listen(path)) {
        m_error = path + QStringLiteral(": ") + m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // One line: the file's path, percent-encoded UTF-8; empty for none.
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(socket->readLine().trimmed()));
                socket->write("ok\n");
                socket->flush();
                emit Started(path);
            });
        }
    });
    return true;
}

bool TInstanceChannel::Send(const QString &key, const QString &filePath, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketPath(key));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(filePath.toUtf8().toPercentEncoding() + '\n'); // a name may hold a line end
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The answer says the running copy has taken the request.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == "ok\n";
}
