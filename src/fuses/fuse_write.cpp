#include "fuse_write.h"

#include "chip_profile.h"
#include "fuse_commands.h"
#include "runner/signature_probe.h"

using Kind = OperationProblem::Kind;

FuseWriteResult writeFuses(const ExchangePaths &files, const PanelTicks &ticks, RunningOperation &running,
                           OutputPane &pane, const std::function<bool()> &confirm)
{
    FuseWriteResult result;
    const OperationContext &frozen = running.context();
    const ChipProfile *chip = chipForPart(frozen.selections.part);

    // 1. The chip on the programmer must be the chosen one.
    result.problem = probeChip(running, pane);
    if (!result.problem.isNone())
        return result;
    // 2. The user confirms.
    if (!confirm()) {
        result.problem = OperationProblem::of(Kind::WriteCancelled);
        return result;
    }
    // 3. Only a chip the write serves goes on.
    if (!chip)
        return result;
    if (!chip->writeSupported) {
        result.problem = OperationProblem::of(Kind::WriteNotSupported);
        return result;
    }
    // 4. The boxes become three bytes in three exchange files.
    result.written = composeFromPanel(ticks);
    result.problem = writeFuseExchangeFiles(files, result.written);
    if (!result.problem.isNone())
        return result;
    // 5. The tool writes them; the pane shows the command line and its text.
    // A failed verification is explained by the lock byte it was handed.
    running.writtenLock = result.written.lock;
    const CapturedRun captured = showAndCapture(pane, fuseWriteCommand(frozen.prefix, files, frozen.dialect), running);
    result.toolRan = true;
    // 6. The files go again.
    result.problem = removeExchangeFiles({files.lock, files.lfuse, files.hfuse});
    if (captured.abandoned)
        result.problem = OperationProblem::of(Kind::Abandoned);
    return result;
}
