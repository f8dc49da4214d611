// The child process on Linux: prctl(PR_SET_PDEATHSIG), pipe2() and dup3() are
// Linux's own, so no other POSIX system builds this file.

#include "child_process.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
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

// Closes every descriptor from first on; runs in the vforked child, so only
// system calls.
void closeDescriptorsFrom(int first, int limit)
{
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, first, ~0u, 0) == 0)
        return;
#endif
    for (int fd = first; fd < limit; ++fd)
        ::close(fd);
}

// Everything the child needs between vfork() and exec(), prepared before:
// the child borrows our memory until it execs, so it only makes
// async-signal-safe calls and changes nothing of ours. (A fork() would copy
// the page tables of the whole GUI, several times the cost of a start.)
struct ChildSetup {
    const char *path;
    char *const *argv;
    int outputFd; // becomes 1 and 2
    int reportFd; // close-on-exec; carries errno when exec fails
    pid_t parent;
    int descriptorLimit;

    [[noreturn]] void run() const
    {
        // Signals the GUI ignores or handles (SIGPIPE, say) must not stay so
        // in the tool; every signal is blocked since before the vfork, so no
        // handler of ours runs here.
        struct sigaction byDefault = {};
        byDefault.sa_handler = SIG_DFL;
        for (int sig = 1; sig < NSIG; ++sig) {
            if (sig != SIGKILL && sig != SIGSTOP)
                ::sigaction(sig, &byDefault, nullptr);
        }
        // The tool dies with us, however we end (closed, SIGTERM, SIGHUP at
        // logout, a crash), so no avrdude is left holding the port. Had we
        // already gone before this took effect, the tool is not started.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            fail(ECHILD);

        int input = ::open("/dev/null", O_RDONLY);
        if (input < 0)
            fail(errno);
        if (input != STDIN_FILENO) {
            if (::dup2(input, STDIN_FILENO) < 0)
                fail(errno);
            ::close(input);
        }
        if (::dup2(outputFd, STDOUT_FILENO) < 0 || ::dup2(outputFd, STDERR_FILENO) < 0)
            fail(errno);
        // The report pipe goes to 3, still closed on exec; descriptors the
        // rest of the program forgot to mark so (lock files, sockets) must
        // not outlive us in the tool.
        const int report = 3;
        if (reportFd != report && ::dup3(reportFd, report, O_CLOEXEC) < 0)
            fail(errno);
        closeDescriptorsFrom(report + 1, descriptorLimit);

        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(path, argv, environ);
        failTo(report, errno);
    }

    [[noreturn]] void fail(int error) const;

    [[noreturn]] static void failTo(int fd, int error)
    {
        while (::write(fd, &error, sizeof error) < 0 && errno == EINTR) {
        }
        ::_exit(127);
    }
};

void ChildSetup::fail(int error) const
{
    failTo(reportFd, error);
}

// The errno the child reported before exec, 0 once exec has closed the pipe.
int readStartReport(int fd)
{
    int error = 0;
    ssize_t n;
    do
        n = ::read(fd, &error, sizeof error);
    while (n < 0 && errno == EINTR);
    return n == ssize_t(sizeof error) ? error : 0;
}

} // namespace

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

    // The child tells through this pipe why it could not start the tool.
    int report[2] = {-1, -1};
    if (::pipe2(report, O_CLOEXEC) != 0 || !liftAboveStandard(report[0]) || !liftAboveStandard(report[1])) {
        m_error = errno;
        closeQuietly(report[0]);
        closeQuietly(report[1]);
        closeQuietly(readFd);
        closeQuietly(writeFd);
        return Failure::Pipe;
    }
    rlimit files{};
    const int descriptorLimit = ::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY
                                    ? int(qMin<rlim_t>(files.rlim_cur, 65536))
                                    : 65536;
    const ChildSetup setup{path.constData(), argv.data(), writeFd, report[1], ::getpid(), descriptorLimit};

    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t pid = ::vfork();
    if (pid == 0)
        setup.run();
    const int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    // The child has its own copies; ours would keep the pipe from ever
    // reaching end-of-file.
    closeQuietly(writeFd);
    ::close(report[1]);
    const int startError = pid < 0 ? forkError : readStartReport(report[0]);
    ::close(report[0]);
    if (startError != 0) {
        if (pid > 0) {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        m_error = startError;
        closeQuietly(readFd);
        return Failure::Start;
    }

    m_pid = pid;
    m_readFd = readFd;
    m_status = -1;
    return Failure::None;
}

int ChildProcess::outputDescriptor() const
{
    return m_readFd;
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

bool ChildProcess::isRunning() const
{
    return m_pid > 0;
}

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
