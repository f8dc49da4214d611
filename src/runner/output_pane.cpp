#include "output_pane.h"

QString showAndRun(OutputPane &pane, const ToolCommand &command, const RunFunction &run)
{
    pane.setPaneText(command.text + QStringLiteral("\r\n"));
    const QString taken = pane.paneText();
    const QString result = run(command);
    pane.setPaneText(taken + result);
    return result;
}

void showOutput(OutputPane &pane, const ToolCommand &command, const QString &captured)
{
    pane.setPaneText(command.text + QStringLiteral("\r\n") + captured);
}

CapturedRun showAndCapture(OutputPane &pane, const ToolCommand &command, RunningOperation &operation, RunShown shown)
{
    CapturedRun captured;
    showAndRun(pane, command, [&](const ToolCommand &c) {
        captured = operation.run(c, shown);
        return captured.text;
    });
    return captured;
}
