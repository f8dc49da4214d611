#include "fuse_procedures.h"

#include "fuse_commands.h"

using Kind = OperationProblem::Kind;

CalibrationResult readCalibration(const FuseOperation &operation, RunningOperation &running, OutputPane &pane)
{
    CalibrationResult result;
    const QString exchange = operation.exchange.read;
    const ProbeOutcome probe = clearExchangeAndProbe(operation, running, pane);
    result.lastCommand = probe.command;
    result.problem = probe.problem;
    if (!result.problem.isNone()) {
        result.showBytes = result.problem.kind == Kind::SignatureMismatch;
        return result;
    }

    result.calibrationOp = calibrationFragment(exchange);
    result.lastCommand = calibrationCommand(operation.context.prefix, result.calibrationOp);
    // The tool's text follows the command line directly, without a line break.
    pane.setPaneText(result.lastCommand.text);
    const CapturedRun captured = running.run(result.lastCommand);
    pane.setPaneText(pane.paneText() + captured.text);
    if (captured.abandoned) {
        removeExchangeFiles({exchange});
        result.problem = OperationProblem::of(Kind::Abandoned);
        return result;
    }
    const ExchangeBytes read = readExchangeFile(exchange, 4);
    result.bytes = read.bytes;
    result.showBytes = read.problem.isNone();
    const OperationProblem removed = removeExchangeFiles({exchange});
    result.problem = read.problem.isNone() ? removed : read.problem;
    return result;
}
