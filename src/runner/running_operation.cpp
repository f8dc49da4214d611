#include "running_operation.h"

RunningOperation::RunningOperation(OperationKind kind, Tool tool) : m_kind(kind), m_tool(std::move(tool)) {}

CapturedRun RunningOperation::run(const ToolCommand &command, RunShown shown)
{
    CapturedRun captured;
    if (m_closing) {
        captured.abandoned = true;
        return captured;
    }
    captured = m_tool(command, shown);
    captured.abandoned = m_closing;
    // A tool that could not start leaves the last run as it was; the window has said why.
    if (captured.ran && !captured.abandoned) {
        m_lastCaptured = captured.text;
        m_lastSilentSeconds = captured.silentSeconds;
        m_failed = m_failed || !captured.exitedWithZero;
    }
    return captured;
}
