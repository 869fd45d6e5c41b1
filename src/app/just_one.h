#pragma once
#include <QString>

// Lets one copy of the program run at a time. The guard is keyed on the
// program's file name; the lock is one that the system drops when the holding
// process dies, so a crashed copy never blocks the next start.
// The folder of the lock is TRIPCONF_LOCK_DIR when that is set (tests), else
// the user's runtime folder.
class TJustOne {
public:
    explicit TJustOne(const QString &key);
    ~TJustOne();
    TJustOne(const TJustOne &) = delete;
    TJustOne &operator=(const TJustOne &) = delete;

    bool owner() const { return m_owner; }
    static QString LockPath(const QString &key);

private:
    bool m_owner = false;
    int m_fd = -1;
    void *m_lockFile = nullptr; // QLockFile where flock is not available
};
