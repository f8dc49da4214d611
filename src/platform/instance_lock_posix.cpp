#include "instance_lock.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

InstanceLock::InstanceLock(const QString &key)
{
    // The user's runtime folder when the session has one; the key carries
    // the user id, so the shared temporary folder serves as well.
    QString dir = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    m_path = dir + QLatin1Char('/') + key + QStringLiteral(".lock");
}

InstanceLock::~InstanceLock()
{
    release();
}

bool InstanceLock::tryAcquire()
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no place for a lock: better to start than to refuse forever
    // flock is dropped by the kernel when the holder ends, crashed or not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::release()
{
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

QString InstanceLock::defaultKey()
{
    return QStringLiteral("fusewright-%1").arg(::getuid());
}

} // namespace platform
