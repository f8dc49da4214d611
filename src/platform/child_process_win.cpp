#include "child_process.h"

#include <QDir>
#include <QWinEventNotifier>

#include <cerrno>
#include <cstring>
#include <vector>

#include <windows.h>

namespace platform {

namespace {

constexpr DWORD pipeBufferSize = 64 * 1024;

void closeQuietly(HANDLE &h)
{
    if (h && h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    h = nullptr;
}

// One word of a command line as the C runtime's argument splitter reads it
// back: quoted when it holds blanks or quotes, backslashes doubled only
// before a quote.
void appendArgument(std::wstring &line, const std::wstring &word)
{
    line += L' ';
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += word;
        return;
    }
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

std::wstring commandLine(const QString &program, const QStringList &args)
{
    // The program's own word ends at the closing quote; a path holds no quotes.
    std::wstring line = L"\"" + program.toStdWString() + L"\"";
    for (const QString &a : args)
        appendArgument(line, a.toStdWString());
    return line;
}

// An overlapped read end the event loop can wait on (an anonymous pipe
// cannot be waited on), and a plain inheritable write end for the child.
bool createOutputPipe(HANDLE &readEnd, HANDLE &writeEnd)
{
    static LONG serial = 0;
    const std::wstring name = QStringLiteral("\\\\.\\pipe\\fusewright-%1-%2")
                                  .arg(::GetCurrentProcessId())
                                  .arg(::InterlockedIncrement(&serial))
                                  .toStdWString();
    readEnd = ::CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, pipeBufferSize, 0, nullptr);
    if (readEnd == INVALID_HANDLE_VALUE) {
        readEnd = nullptr;
        return false;
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    writeEnd = ::CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, &inheritable, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writeEnd == INVALID_HANDLE_VALUE) {
        writeEnd = nullptr;
        const DWORD error = ::GetLastError();
        closeQuietly(readEnd);
        ::SetLastError(error);
        return false;
    }
    return true;
}

// The job every tool the program starts belongs to. Its only handle is ours
// and is never inherited; Windows closes it when the program ends, however it
// ends, and then ends every tool still in the job, so none is left holding
// the port. Null when the job cannot be had: the tools then run without it.
HANDLE toolJob()
{
    static const HANDLE job = [] {
        HANDLE h = ::CreateJobObjectW(nullptr, nullptr);
        if (!h)
            return HANDLE(nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!::SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            ::CloseHandle(h);
            return HANDLE(nullptr);
        }
        return h;
    }();
    return job;
}

} // namespace

// The child's process handle and the read end with its one outstanding read.
struct ChildProcess::Handles {
    HANDLE process = nullptr;
    HANDLE readEnd = nullptr;
    HANDLE readDone = nullptr; // manual-reset event of the outstanding read
    OVERLAPPED overlapped{};
    bool readPending = false;
    std::vector<char> buffer = std::vector<char>(pipeBufferSize);
    DWORD buffered = 0; // bytes of a finished read not handed out yet
    DWORD handedOut = 0;
    bool ended = false; // the pipe broke: no more output
    DWORD failure = 0;  // why the output ended; 0 for the normal end, a broken pipe

    ~Handles() { closeOutput(); }

    // Starts the next read unless one is outstanding or data waits.
    void startRead()
    {
        if (readPending || ended || handedOut < buffered)
            return;
        buffered = handedOut = 0;
        overlapped = OVERLAPPED{};
        overlapped.hEvent = readDone;
        if (::ReadFile(readEnd, buffer.data(), pipeBufferSize, nullptr, &overlapped)
            || ::GetLastError() == ERROR_IO_PENDING) {
            readPending = true; // also when done at once: the result is collected below
            return;
        }
        end(::GetLastError());
    }

    // True once bytes wait in the buffer or the output has ended; false
    // while the read is outstanding.
    bool collect()
    {
        for (;;) {
            startRead();
            if (!readPending)
                return true;
            DWORD n = 0;
            if (!::GetOverlappedResult(readEnd, &overlapped, &n, FALSE)) {
                const DWORD error = ::GetLastError();
                if (error == ERROR_IO_INCOMPLETE)
                    return false;
                readPending = false;
                end(error);
                return true;
            }
            readPending = false;
            buffered = n;
            // A writer may send nothing in one write; that is no end.
            if (n > 0)
                return true;
        }
    }

    void end(DWORD error)
    {
        ended = true;
        failure = error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF ? 0 : error;
    }

    void closeOutput()
    {
        if (readPending) {
            // The buffer and the OVERLAPPED must outlive the cancelled read.
            DWORD n = 0;
            ::CancelIoEx(readEnd, &overlapped);
            ::GetOverlappedResult(readEnd, &overlapped, &n, TRUE);
            readPending = false;
        }
        closeQuietly(readEnd);
        closeQuietly(readDone);
        buffered = handedOut = 0;
    }
};

ChildProcess::ChildProcess() = default;

ChildProcess::~ChildProcess()
{
    closeOutput();
    if (m_win && m_win->process && !tryReap()) {
        kill();
        reapBlocking();
    }
}

ChildProcess::Failure ChildProcess::start(const QString &program, const QStringList &args)
{
    if (m_win && (m_win->process || m_win->readEnd)) {
        m_error = EBUSY;
        return Failure::Start;
    }
    m_error = 0;
    auto handles = std::make_unique<Handles>();

    HANDLE writeEnd = nullptr;
    if (!createOutputPipe(handles->readEnd, writeEnd)) {
        m_error = int(::GetLastError());
        return Failure::Pipe;
    }
    handles->readDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE input = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                                 0, nullptr);
    if (!handles->readDone || input == INVALID_HANDLE_VALUE) {
        m_error = int(::GetLastError());
        if (input == INVALID_HANDLE_VALUE)
            input = nullptr;
        closeQuietly(input);
        closeQuietly(writeEnd);
        handles->closeOutput();
        return Failure::Pipe;
    }

    // Only the two standard handles reach the child, whatever else of ours
    // happens to be inheritable.
    HANDLE inherited[] = {input, writeEnd};
    SIZE_T attributeSize = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributeStore(attributeSize);
    auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStore.data());
    const bool listReady = ::InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize)
                           && ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                          sizeof inherited, nullptr, nullptr);

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = writeEnd;
    startup.StartupInfo.hStdError = writeEnd;
    startup.lpAttributeList = listReady ? attributes : nullptr;

    // The program is named on its own, so Windows neither searches for it
    // nor guesses where its name ends.
    const std::wstring application = QDir::toNativeSeparators(program).toStdWString();
    std::wstring line = commandLine(QDir::toNativeSeparators(program), args);
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so not one instruction of it runs outside.
    const DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | (listReady ? EXTENDED_STARTUPINFO_PRESENT : 0);
    const BOOL started = ::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                          nullptr, &startup.StartupInfo, &info);
    const DWORD startError = ::GetLastError();
    if (listReady)
        ::DeleteProcThreadAttributeList(attributes);
    // The child has its own copies; ours would keep the pipe from ever breaking.
    closeQuietly(input);
    closeQuietly(writeEnd);
    if (!started) {
        m_error = int(startError);
        handles->closeOutput();
        return Failure::Start;
    }
    if (HANDLE job = toolJob())
        ::AssignProcessToJobObject(job, info.hProcess);
    ::ResumeThread(info.hThread);
    ::CloseHandle(info.hThread);
    handles->process = info.hProcess;
    m_win = std::move(handles);
    m_status = -1;
    return Failure::None;
}

qint64 ChildProcess::readAvailable(char *buffer, qint64 capacity)
{
    if (!m_win || !m_win->readEnd)
        return 0;
    Handles &h = *m_win;
    if (!h.collect())
        return -1;
    if (h.handedOut == h.buffered) {
        if (h.failure == 0)
            return 0;
        m_error = int(h.failure);
        return -2;
    }
    const qint64 n = qMin<qint64>(capacity, h.buffered - h.handedOut);
    memcpy(buffer, h.buffer.data() + h.handedOut, size_t(n));
    h.handedOut += DWORD(n);
    // Keeps a read outstanding, so the event tells when more arrives.
    h.startRead();
    return n;
}

bool ChildProcess::waitForOutput(int timeoutMs)
{
    if (!m_win || !m_win->readEnd)
        return true;
    m_win->startRead();
    if (!m_win->readPending)
        return true;
    const DWORD r = ::WaitForSingleObject(m_win->readDone, timeoutMs < 0 ? INFINITE : DWORD(timeoutMs));
    return r != WAIT_FAILED;
}

std::unique_ptr<QObject> ChildProcess::outputNotifier(std::function<void()> onReadable)
{
    auto notifier = std::make_unique<QWinEventNotifier>(m_win->readDone);
    QObject::connect(notifier.get(), &QWinEventNotifier::activated, std::move(onReadable));
    return notifier;
}

void ChildProcess::closeOutput()
{
    if (m_win)
        m_win->closeOutput();
}

void ChildProcess::terminate()
{
    // A console tool without a console of our own cannot be asked politely.
    kill();
}

void ChildProcess::kill()
{
    if (m_win && m_win->process)
        ::TerminateProcess(m_win->process, 1);
}

bool ChildProcess::isRunning() const
{
    return m_win && m_win->process;
}

bool ChildProcess::tryReap()
{
    if (!m_win || !m_win->process)
        return true;
    if (::WaitForSingleObject(m_win->process, 0) == WAIT_TIMEOUT)
        return false;
    DWORD code = 0;
    reaped(::GetExitCodeProcess(m_win->process, &code) ? int(code) : -1);
    return true;
}

void ChildProcess::reapBlocking()
{
    if (!m_win || !m_win->process)
        return;
    ::WaitForSingleObject(m_win->process, INFINITE);
    DWORD code = 0;
    reaped(::GetExitCodeProcess(m_win->process, &code) ? int(code) : -1);
}

int ChildProcess::exitCode() const
{
    return m_status;
}

void ChildProcess::reaped(int status)
{
    closeQuietly(m_win->process);
    m_status = status;
}

} // namespace platform
