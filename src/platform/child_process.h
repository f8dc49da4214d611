#pragma once
// A hidden child process whose standard output and standard error share one
// pipe, with no standard input, the parent's environment and working folder.
// Not thread-safe: one thread starts, reads, signals and reaps it.

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;

namespace platform {

// A tool's output as text: the bytes are decoded as UTF-8, as a whole. On
// Linux that is the narrow encoding Qt takes for every locale (and its UTF-8
// decoder is more than twice as fast as the generic local one); on Windows
// tools\avrdude.exe.manifest gives the tool UTF-8 as its ANSI code page, so
// file names it echoes come back whatever the system's code page.
inline QString decodeToolOutput(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}
// The same decoding piece by piece, for output shown while it arrives: a
// character split over two pieces comes out whole.
inline QStringDecoder toolOutputDecoder()
{
    return QStringDecoder(QStringDecoder::Utf8);
}

class ChildProcess {
public:
    enum class Failure { None, Pipe, Start };

    ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // Never leaves a child behind: a running child is killed and reaped.
    ~ChildProcess();

    // Runs program with args (no shell, no splitting, no search of PATH).
    // The child inherits no descriptor besides 0 (/dev/null), 1 and 2 (the
    // pipe). It never outlives the program, however the program ends: on
    // Linux it is killed when the thread that started it ends, on Windows
    // when the program's last handle to its job closes. On failure returns
    // Pipe or Start, errorNumber() holds the system's error number (2 for a
    // missing program, 13 for one that is not executable, 16 when this object
    // already has a child) and nothing is left open or running.
    Failure start(const QString &program, const QStringList &args);
    int errorNumber() const { return m_error; }

    // >0 bytes read, 0 end of output, -1 nothing available yet, -2 read error.
    qint64 readAvailable(char *buffer, qint64 capacity);
    // Blocks until output may be read or has ended (timeoutMs -1: no limit);
    // false when the wait itself failed.
    bool waitForOutput(int timeoutMs = -1);
    // Calls onReadable from this thread's event loop whenever output may be
    // read, until the notifier is destroyed, which must happen before closeOutput().
    std::unique_ptr<QObject> outputNotifier(std::function<void()> onReadable);
    void closeOutput();

    void terminate(); // asks the child to end (SIGTERM; on Windows it ends at once)
    void kill();      // ends it at once (SIGKILL, TerminateProcess)
    bool tryReap();   // true once the child has been reaped (or none was started)
    void reapBlocking();
    bool isRunning() const;
    // The waitpid() status (on Windows the exit code) of the last reaped
    // child, -1 before any.
    int waitStatus() const { return m_status; }
    // The exit code of the last reaped child; -1 when a signal ended it or
    // none has been reaped.
    int exitCode() const;
#ifndef Q_OS_WIN
    // The read end of the output pipe, -1 when closed. Non-blocking.
    int outputDescriptor() const;
#endif

private:
    void reaped(int status);

#ifdef Q_OS_WIN
    struct Handles;
    std::unique_ptr<Handles> m_win;
#else
    long m_pid = -1;
    int m_readFd = -1;
#endif
    int m_error = 0;
    int m_status = -1;
};

} // namespace platform
