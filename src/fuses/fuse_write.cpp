#include "fuse_procedures.h"

#include "fuse_commands.h"
#include "runner/signature_probe.h"

using Kind = OperationProblem::Kind;

FuseWriteResult writeFuses(const FuseOperation &operation, const PanelTicks &ticks, RunningOperation &running,
                           OutputPane &pane, const std::function<bool()> &confirm)
{
    FuseWriteResult result;
    if (!probeInto(result, operation.context, running, pane))
        return result;
    if (!confirm()) {
        result.problem = OperationProblem::of(Kind::WriteCancelled);
        return result;
    }
    if (!operation.chip)
        return result;
    if (!operation.chip->writeSupported) {
        result.problem = OperationProblem::of(Kind::WriteNotSupported);
        return result;
    }

    const ExchangePaths &files = operation.exchange;
    result.written = composeFromPanel(ticks);
    result.problem = writeFuseExchangeFiles(files, result.written);
    if (!result.problem.isNone())
        return result;
    result.lastCommand = fuseWriteCommand(operation.context.prefix, files, operation.context.dialect);
    const CapturedRun captured = showAndCapture(pane, result.lastCommand, running);
    result.toolRan = true;
    result.problem = removeExchangeFiles({files.lock, files.lfuse, files.hfuse});
    if (captured.abandoned)
        result.problem = OperationProblem::of(Kind::Abandoned);
    return result;
}
