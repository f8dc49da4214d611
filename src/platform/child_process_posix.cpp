#include "child_process.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char **environ;

namespace platform {

namespace {

void closeQuietly(int &fd)
{
    if (fd >= 0) {
        // Linux releases the descriptor even when close() reports EINTR.
        ::close(fd);
        fd = -1;
    }
}

// Moves a pipe end above the standard descriptors, so that setting up 0, 1
// and 2 in the child cannot overwrite it. Only happens when the parent runs
// with one of them closed.
bool liftAboveStandard(int &fd)
{
    if (fd > STDERR_FILENO)
        return true;
    const int lifted = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (lifted < 0)
        return false;
    ::close(fd);
    fd = lifted;
    return true;
}

// Owns the spawn attributes for the length of one start().
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    bool actionsReady = false;
    bool attributesReady = false;

    ~SpawnSetup()
    {
        if (actionsReady)
            posix_spawn_file_actions_destroy(&actions);
        if (attributesReady)
            posix_spawnattr_destroy(&attributes);
    }

    int prepare(int writeFd)
    {
        int rc = posix_spawn_file_actions_init(&actions);
        if (rc != 0)
            return rc;
        actionsReady = true;
        if ((rc = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0)) != 0
            || (rc = posix_spawn_file_actions_adddup2(&actions, writeFd, STDOUT_FILENO)) != 0
            || (rc = posix_spawn_file_actions_adddup2(&actions, writeFd, STDERR_FILENO)) != 0)
            return rc;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // Descriptors the rest of the program forgot to mark close-on-exec
        // (lock files, sockets) must not outlive us in the tool.
        if ((rc = posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1)) != 0)
            return rc;
#endif

        rc = posix_spawnattr_init(&attributes);
        if (rc != 0)
            return rc;
        attributesReady = true;
        // Signals the GUI ignores or blocks (SIGPIPE, say) would otherwise
        // stay ignored or blocked in the tool.
        sigset_t all, none;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        sigemptyset(&none);
        if ((rc = posix_spawnattr_setsigdefault(&attributes, &all)) != 0
            || (rc = posix_spawnattr_setsigmask(&attributes, &none)) != 0)
            return rc;
        return posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
};

} // namespace

QString decodeToolOutput(const QByteArray &bytes)
{
    // Qt takes the narrow encoding of every POSIX system to be UTF-8, and its
    // UTF-8 decoder is more than twice as fast as the generic local one.
    return QString::fromUtf8(bytes);
}

QStringDecoder toolOutputDecoder()
{
    return QStringDecoder(QStringDecoder::Utf8);
}

ChildProcess::ChildProcess() = default;

ChildProcess::~ChildProcess()
{
    closeOutput();
    if (m_pid > 0 && !tryReap()) {
        kill();
        reapBlocking();
    }
}

ChildProcess::Failure ChildProcess::start(const QString &program, const QStringList &args)
{
    if (m_pid > 0 || m_readFd >= 0) {
        m_error = EBUSY;
        return Failure::Start;
    }
    m_error = 0;

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        m_error = errno;
        return Failure::Pipe;
    }
    int readFd = fds[0];
    int writeFd = fds[1];
    if (!liftAboveStandard(readFd) || !liftAboveStandard(writeFd)) {
        m_error = errno;
        closeQuietly(readFd);
        closeQuietly(writeFd);
        return Failure::Pipe;
    }
    // Only our end is non-blocking; the tool writes to a normal blocking pipe.
    const int fl = ::fcntl(readFd, F_GETFL);
    if (fl < 0 || ::fcntl(readFd, F_SETFL, fl | O_NONBLOCK) != 0) {
        m_error = errno;
        closeQuietly(readFd);
        closeQuietly(writeFd);
        return Failure::Pipe;
    }

    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> words;
    words.reserve(size_t(args.size()) + 1);
    words.push_back(path);
    for (const QString &a : args)
        words.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    argv.reserve(words.size() + 1);
    for (QByteArray &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    int rc = setup.prepare(writeFd);
    pid_t pid = -1;
    if (rc == 0)
        rc = posix_spawn(&pid, path.constData(), &setup.actions, &setup.attributes, argv.data(), environ);
    // The child has its own copies; ours would keep the pipe from ever
    // reaching end-of-file.
    closeQuietly(writeFd);
    if (rc != 0) {
        // glibc reports a failed exec here and has already reaped the child.
        m_error = rc;
        closeQuietly(readFd);
        return Failure::Start;
    }

    m_pid = pid;
    m_readFd = readFd;
    m_status = -1;
    return Failure::None;
}

qint64 ChildProcess::readAvailable(char *buffer, qint64 capacity)
{
    if (m_readFd < 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(m_readFd, buffer, size_t(capacity));
        if (n >= 0)
            return qint64(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return -1;
        m_error = errno;
        return -2;
    }
}

bool ChildProcess::waitForOutput(int timeoutMs)
{
    pollfd p{m_readFd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) >= 0 || errno == EINTR;
}

std::unique_ptr<QObject> ChildProcess::outputNotifier(std::function<void()> onReadable)
{
    auto notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, std::move(onReadable));
    return notifier;
}

void ChildProcess::closeOutput()
{
    closeQuietly(m_readFd);
}

void ChildProcess::terminate()
{
    // Once reaped, the number may already belong to somebody else.
    if (m_pid > 0)
        ::kill(pid_t(m_pid), SIGTERM);
}

void ChildProcess::kill()
{
    if (m_pid > 0)
        ::kill(pid_t(m_pid), SIGKILL);
}

bool ChildProcess::isRunning() const { return m_pid > 0; }

bool ChildProcess::tryReap()
{
    if (m_pid <= 0)
        return true;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(pid_t(m_pid), &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0)
        return false;
    // r < 0 (ECHILD): somebody else collected it; either way it is gone.
    reaped(r > 0 ? status : -1);
    return true;
}

void ChildProcess::reapBlocking()
{
    if (m_pid <= 0)
        return;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(pid_t(m_pid), &status, 0);
    } while (r < 0 && errno == EINTR);
    reaped(r > 0 ? status : -1);
}

int ChildProcess::exitCode() const
{
    return m_status >= 0 && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
}

void ChildProcess::reaped(int status)
{
    m_pid = -1;
    m_status = status;
}

} // namespace platform
