#pragma once
// The operation in progress, from its button press to its end: what it is,
// the inputs frozen when the button was pressed (the one copy the procedures
// and the hints read), what its last run printed, whether it failed, and
// whether the window is closing. The window's operation scope owns it, the
// procedures run the tool through it, and the window reads it when the
// operation ends.

#include "operation_context.h"
#include "operation_kind.h"

#include <functional>
#include <optional>

// How a run's output reaches the pane: all at once when the tool has ended,
// or also while it arrives (a long transfer's progress bar).
enum class RunShown { AtEnd, WhileRunning };

class RunningOperation {
public:
    // Runs one command; CapturedRun::ran is false when the tool could not start.
    using Tool = std::function<CapturedRun(const ToolCommand &, RunShown)>;

    RunningOperation(OperationKind kind, Tool tool);
    RunningOperation(const RunningOperation &) = delete;
    RunningOperation &operator=(const RunningOperation &) = delete;

    OperationKind kind() const { return m_kind; }

    // The inputs as they were when the button was pressed.
    void freeze(const OperationContext &context) { m_context = context; }
    const OperationContext &context() const { return m_context; }

    // Runs one command of the operation and keeps what it printed. Once the
    // window is closing nothing more runs: the answer is abandoned, and the
    // procedure unwinds without another run or a word to the user.
    CapturedRun run(const ToolCommand &command, RunShown shown = RunShown::AtEnd);

    // The window is closing while the operation runs.
    void close() { m_closing = true; }

    // Something went wrong that the user is told about.
    void markFailed() { m_failed = true; }
    // A tool ended badly or a problem was reported, and the window stays:
    // the operation's last run is to be explained.
    bool failed() const { return m_failed && !m_closing; }

    // What the last run that started printed; an abandoned run does not count.
    const QString &lastCaptured() const { return m_lastCaptured; }
    // >0 when the last run was stopped for printing nothing this long.
    int lastSilentSeconds() const { return m_lastSilentSeconds; }

    // False when the tool's version could not be read for this operation and
    // an assumed dialect stands in for it until the operation ends.
    bool dialectRead = true;

    // The lock byte the fuse write handed the tool, for explaining its failure.
    std::optional<quint8> writtenLock;

private:
    OperationKind m_kind;
    Tool m_tool;
    OperationContext m_context;
    QString m_lastCaptured;
    int m_lastSilentSeconds = 0;
    bool m_failed = false;
    bool m_closing = false;
};
