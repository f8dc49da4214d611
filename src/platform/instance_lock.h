#pragma once
// One running instance per user: a lock that the operating system releases
// when its holder ends, so a crashed instance never blocks a later start.

#include <QString>

namespace platform {

class InstanceLock {
public:
    explicit InstanceLock(const QString &key);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // True when this process now holds the lock (or already held it).
    bool tryAcquire();
    void release();

    static QString defaultKey(); // per user

private:
#ifdef Q_OS_WIN
    QString m_name; // of the named mutex
    void *m_mutex = nullptr;
#else
    QString m_path;
    int m_fd = -1;
#endif
};

} // namespace platform
