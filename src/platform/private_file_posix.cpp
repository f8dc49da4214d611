#include "private_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}
} // namespace

QString createPrivateFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const Descriptor fd(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        return reasonOf(errno);
    if (writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0)
        return QString();
    const int error = errno ? errno : EIO;
    ::unlink(name.constData()); // a short file must not reach the tool
    return reasonOf(error);
}

PrivateRead readPrivateFile(const QString &path, int count)
{
    const QByteArray name = QFile::encodeName(path);
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return {};
        return {QByteArray(), reasonOf(errno)};
    }
    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0)
        return {QByteArray(), reasonOf(errno)};
    if (!S_ISREG(info.st_mode))
        return {QByteArray(), reasonOf(EINVAL)};
    if (info.st_uid != ::geteuid())
        return {QByteArray(), reasonOf(EPERM)};
    QByteArray bytes(qMax(count, 0), '\0');
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {QByteArray(), reasonOf(errno)};
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return {bytes, QString()};
}

} // namespace platform
