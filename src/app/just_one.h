#pragma once
#include <QString>

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
