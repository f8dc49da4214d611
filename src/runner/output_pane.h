#pragma once
// The output pane shows a command, a line break and everything the tool
// printed. The pane keeps its text exactly (CR LF included).

#include "running_operation.h"
#include "tool_command.h"

#include <functional>

class OutputPane {
public:
    virtual ~OutputPane() = default;
    virtual QString paneText() const = 0;
    virtual void setPaneText(const QString &text) = 0;
};

using RunFunction = std::function<QString(const ToolCommand &)>;

// Replaces the pane by the command's text and CR LF, runs the command, and
// sets the pane to the text taken before the run followed by the result.
// Returns the captured text.
QString showAndRun(OutputPane &pane, const ToolCommand &command, const RunFunction &run);

// The same picture for a command that has already run: its text, CR LF and
// what it printed.
void showOutput(OutputPane &pane, const ToolCommand &command, const QString &captured);

// showAndRun as one run of the operation; tells how the run ended.
CapturedRun showAndCapture(OutputPane &pane, const ToolCommand &command, RunningOperation &operation,
                           RunShown shown = RunShown::AtEnd);
