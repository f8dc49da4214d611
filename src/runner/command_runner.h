#pragma once
// Runs one tool command as a hidden child and captures everything it writes
// to standard output and standard error, in the order written. The event loop
// is serviced between reads so the window stays live during long runs.

#include "tool_command.h"

#include <QByteArray>
#include <QString>

#include <functional>

struct RunOutcome {
    enum class Failure { None, Pipe, Start };
    Failure failure = Failure::None;
    int errorNumber = 0;      // the system's error number when failure != None
    bool interrupted = false; // ended by interrupt(), or for its silence
    int silentForMs = 0;      // >0: killed after printing nothing for this long
    int exitCode = -1;        // the child's exit code; -1 when it did not exit by itself
    QByteArray bytes;         // raw output
    QString text;             // bytes decoded once, as a whole, from the locale's encoding
};

class CommandRunner {
public:
    CommandRunner() = default;
    // Kills and reaps a child that is still running, even when called from an
    // event handler serviced by run(); run() then returns at once.
    ~CommandRunner();
    CommandRunner(const CommandRunner &) = delete;
    CommandRunner &operator=(const CommandRunner &) = delete;

    // Returns when the child has closed its output and has been reaped, or
    // once it has been reaped after interrupt(). A call while a run is in
    // progress on this runner fails with Failure::Start and EBUSY.
    RunOutcome run(const ToolCommand &command);

    // Ends the running child: terminate, then kill after the grace period.
    // run() then returns with interrupted set. Safe to call when idle and
    // from handlers run() services.
    void interrupt();
    bool isRunning() const { return m_active != nullptr; }

    // Consulted after every read with the output so far and where this
    // read's bytes begin (0 on the first read of a run); when it answers true
    // the run is ended as by interrupt(). For tools that can wait forever.
    using GiveUpRule = std::function<bool(const QByteArray &output, qsizetype newFrom)>;
    void setGiveUpRule(GiveUpRule rule) { m_giveUp = std::move(rule); }

    // Called after every read with just the bytes it delivered, for showing
    // output while the run goes on. Taken at the start of each run; an empty
    // listener (the default) is not called.
    using OutputListener = std::function<void(const char *data, qsizetype size)>;
    void setOutputListener(OutputListener listener) { m_listener = std::move(listener); }

    static constexpr int killGraceMs = 2000;

    // A tool that prints nothing for this long is taken to hang (avrdude
    // waiting for a programmer that has gone) and is killed; avrdude prints
    // at least every 2% of a transfer. The limit holds for every runner from
    // its next run on; tests set it low.
    static constexpr int defaultSilenceLimitMs = 60000;
    static void setSilenceLimitMs(int ms);
    static int silenceLimitMs();

private:
    struct ActiveRun;
    static void captureServicingEvents(ActiveRun &active);
    static void captureBlocking(ActiveRun &active);

    ActiveRun *m_active = nullptr; // lives on the stack of the run in progress
    GiveUpRule m_giveUp;
    OutputListener m_listener;
};
