#pragma once
// A hidden child process whose standard output and standard error share one
// pipe, with no standard input, the parent's environment and working folder.
// Not thread-safe: one thread starts, reads, signals and reaps it.

#include <QString>
#include <QStringDecoder>
#include <QStringList>

namespace platform {

// A tool's output as text: the bytes are in the system's narrow encoding and
// are decoded as a whole.
QString decodeToolOutput(const QByteArray &bytes);
// The same decoding piece by piece, for output shown while it arrives: a
// character split over two pieces comes out whole.
QStringDecoder toolOutputDecoder();

class ChildProcess {
public:
    enum class Failure { None, Pipe, Start };

    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // Never leaves a child behind: a running child is killed and reaped.
    ~ChildProcess();

    // Runs program with args (no shell, no splitting, no search of PATH).
    // The child inherits no descriptor besides 0 (/dev/null), 1 and 2 (the
    // pipe). On failure returns Pipe or Start, errorNumber() holds the
    // system's error number (2 for a missing program, 13 for one that is not
    // executable, 16 when this object already has a child) and nothing is
    // left open or running.
    Failure start(const QString &program, const QStringList &args);
    int errorNumber() const { return m_error; }

    // The read end of the output pipe, -1 when closed. Non-blocking.
    int outputDescriptor() const { return m_readFd; }
    // >0 bytes read, 0 end of output, -1 nothing available yet, -2 read error.
    qint64 readAvailable(char *buffer, qint64 capacity);
    void closeOutput();

    void terminate();   // asks the child to end (SIGTERM)
    void kill();        // ends it at once (SIGKILL)
    bool tryReap();     // true once the child has been reaped (or none was started)
    void reapBlocking();
    bool isRunning() const { return m_pid > 0; }
    // The waitpid() status of the last reaped child, -1 before any.
    int waitStatus() const { return m_status; }
    // The exit code of the last reaped child; -1 when a signal ended it or
    // none has been reaped.
    int exitCode() const;

private:
    void reaped(int status);

    long m_pid = -1;
    int m_readFd = -1;
    int m_error = 0;
    int m_status = -1;
};

} // namespace platform
