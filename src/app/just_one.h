#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

// Lets one copy of the program run at a time. The guard is keyed on the
// program's file name; the lock is one that the system drops when the holding
// process dies, so a crashed copy never blocks the next start.
// The folder of the lock is TRIPCONF_LOCK_DIR when that is set (tests), else
// the user's runtime folder.
// A lock that cannot be made at all (no writable folder) does not keep the
// program from starting: the guard then fails open and says why.
class TJustOne {
public:
    enum class State { Owner, HeldByAnother, Unavailable };

    explicit TJustOne(const QString &key);
    ~TJustOne();
    TJustOne(const TJustOne &) = delete;
    TJustOne &operator=(const TJustOne &) = delete;

    State state() const { return m_state; }
    bool owner() const { return m_state == State::Owner; }
    QString ErrorText() const { return m_error; } // the lock's path and why it is unavailable
    static QString LockPath(const QString &key);

private:
    State m_state = State::Unavailable;
    QString m_error;
    int m_fd = -1;
    void *m_lockFile = nullptr; // QLockFile where flock is not available
};

// The running copy listens beside its lock; a copy started after it hands it
// the file it was given (or none) there and ends, and the running copy comes
// to the front and opens the file.
class TInstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit TInstanceChannel(QObject *parent = nullptr);
    ~TInstanceChannel() override;

    // The running copy: false (with the reason in ErrorText) when it cannot listen.
    bool Listen(const QString &key);
    QString ErrorText() const { return m_error; }

    // A later copy: hands `filePath` (empty: none) to the running one. False
    // when that copy does not take it in time.
    static bool Send(const QString &key, const QString &filePath, int timeoutMs = 5000);
    static QString SocketPath(const QString &key);

signals:
    // Another copy was started; `filePath` is the file it was given, or empty.
    void Started(const QString &filePath);

private:
    QLocalServer *m_server = nullptr;
    QString m_error;
};
