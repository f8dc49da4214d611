#include "command_runner.h"

#include "platform/child_process.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <memory>
#include <thread>

namespace {

std::atomic<int> silenceLimit{CommandRunner::defaultSilenceLimitMs};

// One read takes what a default pipe buffers.
constexpr qint64 readChunk = 64 * 1024;
// While output keeps pouring in, the window is serviced at least this often.
constexpr qint64 readSliceNs = 5 * 1000 * 1000;
// Bounds the last read after an interrupt.
constexpr int drainChunksAfterInterrupt = 4;
constexpr int longestReapPollMs = 20;
constexpr int quickReapTries = 50;

} // namespace

struct CommandRunner::ActiveRun {
    platform::ChildProcess child;
    CommandRunner::GiveUpRule giveUp;
    CommandRunner::OutputListener listener;
    QByteArray bytes;
    bool interruptRequested = false;
    bool outputEnded = false;
    bool reading = false;
    bool killed = false;
    bool ownerGone = false;
    QElapsedTimer sinceInterrupt;
    int silenceLimitMs = CommandRunner::defaultSilenceLimitMs;
    int silentForMs = 0;
    QElapsedTimer sinceOutput;

    // Milliseconds left before the tool has been silent too long; once they
    // are up, the tool is killed and 0 returned. A tool already being
    // stopped is left to the kill after the grace period.
    qint64 silenceLeft()
    {
        const qint64 left = silenceLimitMs - sinceOutput.elapsed();
        if (left > 0 || silentForMs || interruptRequested || outputEnded)
            return qMax<qint64>(left, 0);
        silentForMs = silenceLimitMs;
        requestStop();
        child.kill();
        killed = true;
        return 0;
    }

    // Reads until the pipe is empty for now, the output ends or a time slice
    // has passed; false once there is nothing more to read for now.
    bool readSlice(bool &eof)
    {
        // A listener that services events must not start a read within this one.
        if (reading || eof)
            return false;
        reading = true;
        QElapsedTimer slice;
        slice.start();
        bool more;
        do
            more = readOnce(eof);
        while (more && !interruptRequested && slice.nsecsElapsed() < readSliceNs);
        reading = false;
        outputEnded = eof;
        return more;
    }

    // Appends one read; false once there is nothing more to read for now.
    bool readOnce(bool &eof)
    {
        const qsizetype had = bytes.size();
        bytes.resize(had + readChunk);
        const qint64 n = child.readAvailable(bytes.data() + had, readChunk);
        bytes.resize(had + qMax<qint64>(n, 0));
        if (n > 0) {
            sinceOutput.restart();
            if (listener)
                listener(bytes.constData() + had, qsizetype(n));
            if (giveUp && giveUp(bytes, had))
                requestStop();
            return true;
        }
        // A read error ends the output just as end-of-file does.
        eof = n != -1;
        return false;
    }

    void requestStop()
    {
        if (interruptRequested)
            return;
        interruptRequested = true;
        sinceInterrupt.start();
        child.terminate();
    }

    void killAfterGrace()
    {
        if (interruptRequested && !killed && sinceInterrupt.hasExpired(CommandRunner::killGraceMs)) {
            child.kill();
            killed = true;
        }
    }
};

CommandRunner::~CommandRunner()
{
    if (!m_active)
        return;
    // We are inside an event handler that run() serviced; run() notices
    // ownerGone as soon as the handler returns and leaves without us.
    m_active->ownerGone = true;
    m_active->listener = nullptr; // it belongs to the owner
    m_active->interruptRequested = true;
    m_active->child.kill();
    m_active->child.reapBlocking();
    m_active = nullptr;
}

RunOutcome CommandRunner::run(const ToolCommand &command)
{
    RunOutcome outcome;
    if (m_active) {
        outcome.failure = RunOutcome::Failure::Start;
        outcome.errorNumber = EBUSY;
        return outcome;
    }

    ActiveRun active;
    active.giveUp = m_giveUp;
    active.listener = m_listener;
    active.silenceLimitMs = silenceLimitMs();
    switch (active.child.start(command.program, command.arguments)) {
    case platform::ChildProcess::Failure::None:
        break;
    case platform::ChildProcess::Failure::Pipe:
        outcome.failure = RunOutcome::Failure::Pipe;
        outcome.errorNumber = active.child.errorNumber();
        return outcome;
    case platform::ChildProcess::Failure::Start:
        outcome.failure = RunOutcome::Failure::Start;
        outcome.errorNumber = active.child.errorNumber();
        return outcome;
    }

    m_active = &active;
    active.sinceOutput.start();
    if (QAbstractEventDispatcher::instance(QThread::currentThread()))
        captureServicingEvents(active);
    else
        captureBlocking(active);
    // When the runner was destroyed meanwhile, `this` is gone: touch nothing.
    if (!active.ownerGone)
        m_active = nullptr;

    outcome.interrupted = active.interruptRequested;
    outcome.silentForMs = active.silentForMs;
    outcome.exitCode = active.child.exitCode();
    outcome.bytes = std::move(active.bytes);
    outcome.text = platform::decodeToolOutput(outcome.bytes);
    return outcome;
}

void CommandRunner::setSilenceLimitMs(int ms)
{
    silenceLimit = qMax(1, ms);
}

int CommandRunner::silenceLimitMs()
{
    return silenceLimit;
}

void CommandRunner::interrupt()
{
    if (m_active)
        m_active->requestStop();
}

void CommandRunner::captureServicingEvents(ActiveRun &active)
{
    platform::ChildProcess &child = active.child;
    bool eof = false;
    bool readable = true;
    // The pipe is read in the notifier's own callback, so output that arrives
    // while a nested loop runs (a modal dialog) is taken at once: the silence
    // clock restarts, the pipe drains, and the end of the output is seen.
    QObject *notifierObject = nullptr;
    std::unique_ptr<QObject> notifier = child.outputNotifier([&] {
        readable = active.readSlice(eof);
        // An ended pipe stays readable: left enabled, it would wake the loop
        // without pause until the loop below closes it.
        if (eof && notifierObject)
            QMetaObject::invokeMethod(notifierObject, "setEnabled", Qt::DirectConnection, Q_ARG(bool, false));
    });
    notifierObject = notifier.get();

    // Wakes the loop while it waits for the exit or the kill deadline, which
    // no descriptor announces. Starts short: most tools exit right after
    // closing their output.
    QTimer reapPoll;
    reapPoll.setSingleShot(true);
    reapPoll.setTimerType(Qt::PreciseTimer);
    int reapPollMs = 0;

    // Wakes the loop when the tool may have been silent too long; re-armed
    // for the time left whenever output came meanwhile.
    QTimer silence;
    silence.setSingleShot(true);
    QObject::connect(&silence, &QTimer::timeout, [&active, &silence] {
        if (const qint64 left = active.silenceLeft())
            silence.start(int(left));
    });
    silence.start(active.silenceLimitMs);

    for (;;) {
        if (!eof && readable)
            readable = active.readSlice(eof);
        if (eof && notifier) {
            notifier.reset();
            child.closeOutput();
            // A tool that closed its output is normally a moment away from
            // exiting; catching that here saves the first timer round (~1 ms).
            for (int i = 0; i < quickReapTries && !child.tryReap(); ++i)
                std::this_thread::yield();
        }
        if (eof || active.interruptRequested) {
            active.killAfterGrace();
            if (child.tryReap())
                break;
            if (!reapPoll.isActive()) {
                reapPoll.start(reapPollMs);
                reapPollMs = qMin(qMax(1, reapPollMs * 2), longestReapPollMs);
            }
        }
        // With data still waiting, only handle what is pending and read on;
        // otherwise sleep until the pipe, the timer or the window wakes us.
        QCoreApplication::processEvents(readable && !eof ? QEventLoop::AllEvents : QEventLoop::WaitForMoreEvents);
        // The destroyed runner has already reaped the child.
        if (active.ownerGone)
            break;
    }

    if (!eof) {
        // Reaped after an interrupt; keep what is already in the pipe, but a
        // grandchild may hold it open and write on, so read no further.
        for (int i = 0; i < drainChunksAfterInterrupt && active.readOnce(eof); ++i) {
        }
        notifier.reset();
        child.closeOutput();
    }
}

// Without an event loop in this thread nothing can interrupt the run, so it
// simply reads to the end.
void CommandRunner::captureBlocking(ActiveRun &active)
{
    platform::ChildProcess &child = active.child;
    bool eof = false;
    while (!eof) {
        if (active.readOnce(eof) || eof)
            continue;
        const qint64 left = active.silenceLeft();
        if (!left || !child.waitForOutput(int(left)))
            break;
    }
    // A failed wait leaves the tool running: waiting for it would wait for
    // as long as it runs.
    if (!eof && !active.killed) {
        child.kill();
        active.killed = true;
        active.interruptRequested = true;
    }
    child.closeOutput();
    child.reapBlocking();
}
