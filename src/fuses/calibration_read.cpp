#include "calibration_read.h"

#include "byte_display.h"
#include "exchange_files.h"
#include "fuse_commands.h"
#include "runner/signature_probe.h"

using Kind = OperationProblem::Kind;

CalibrationResult readCalibration(const QString &exchange, RunningOperation &running, OutputPane &pane)
{
    CalibrationResult result;

    // 1. A leftover fuse.bin goes first, so it can never be shown as the chip's bytes.
    result.problem = removeExchangeFiles({exchange});
    if (!result.problem.isNone())
        return result;
    // 2. The chip on the programmer must be the chosen one; another one empties the boxes.
    result.problem = probeChip(running, pane);
    if (!result.problem.isNone()) {
        if (result.problem.kind == Kind::SignatureMismatch)
            result.boxTexts = calibrationTexts(QByteArray());
        return result;
    }

    // 3. The read; the tool's text follows the command line directly, without a line break.
    result.calibrationOp = calibrationFragment(exchange);
    const ToolCommand command = calibrationCommand(running.context().prefix, result.calibrationOp);
    pane.setPaneText(command.text);
    const CapturedRun captured = running.run(command);
    pane.setPaneText(pane.paneText() + captured.text);
    if (captured.abandoned) {
        removeExchangeFiles({exchange});
        result.problem = OperationProblem::of(Kind::Abandoned);
        return result;
    }
    // 4. The bytes the tool left become the boxes' texts; the file goes.
    const ExchangeBytes read = readExchangeFile(exchange, 4);
    if (read.problem.isNone())
        result.boxTexts = calibrationTexts(read.bytes);
    const OperationProblem removed = removeExchangeFiles({exchange});
    result.problem = read.problem.isNone() ? removed : read.problem;
    return result;
}
