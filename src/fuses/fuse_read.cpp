#include "fuse_read.h"

#include "chip_profile.h"
#include "exchange_files.h"
#include "fuse_commands.h"
#include "runner/signature_check.h"
#include "runner/signature_probe.h"

using Kind = OperationProblem::Kind;
using fusepanel::FuseByte;

namespace {
// After the byte runs the ATmega8's pane holds their texts alone; the
// ATmega16's keeps the high-fuse command line and the texts follow it.
void showByteRuns(const ChipProfile &chip, OutputPane &pane, const QString &collected)
{
    pane.setPaneText(chip.id == ChipId::ATmega16 ? pane.paneText() + collected : collected);
}

FuseReadResult noAnswer(FuseReadResult result, const ChipProfile &chip, const QString &exchange, OutputPane &pane,
                        const QString &collected)
{
    showByteRuns(chip, pane, collected);
    result.problem = OperationProblem::of(Kind::NoAnswer);
    result.panelCleared = true;
    removeExchangeFiles({exchange});
    return result;
}
} // namespace

FuseReadResult readFuses(const QString &exchange, RunningOperation &running, OutputPane &pane)
{
    FuseReadResult result;
    const OperationContext &frozen = running.context();
    const ChipProfile *chip = chipForPart(frozen.selections.part);

    // 1. A leftover fuse.bin goes first, so it can never be shown as the chip's byte.
    result.problem = removeExchangeFiles({exchange});
    // 2. The chip on the programmer must be the chosen one.
    if (result.problem.isNone())
        result.problem = probeChip(running, pane);
    if (!result.problem.isNone() || !chip)
        return result;

    // 3. One run per byte; the pane shows the high-fuse line while they go on.
    QString collected;
    for (const FuseByte byte : fuseReadOrder()) {
        result.problem = removeExchangeFiles({exchange});
        if (!result.problem.isNone())
            return result;
        const ToolCommand command = fuseReadCommand(frozen.prefix, byte, exchange);
        if (byte == FuseByte::HighFuse)
            pane.setPaneText(command.text);
        const CapturedRun captured = running.run(command);
        collected += captured.text;
        if (captured.abandoned) {
            removeExchangeFiles({exchange});
            result.problem = OperationProblem::of(Kind::Abandoned);
            return result;
        }
        // 4. The high-fuse run is forced past the tool's own check, so its text is checked again.
        if (byte == FuseByte::HighFuse) {
            const SignatureVerdict verdict = checkForcedRunSignature(captured.text, captured.exitedWithZero,
                                                                     frozen.expectedSignature, frozen.dialect);
            if (!verdict.matches) {
                // The high-fuse line stays and the tool's reason follows it; the file stays
                // until the next run removes it.
                showOutput(pane, command, captured.text);
                result.problem = OperationProblem::of(Kind::SecondCheckFailed, verdict.candidate);
                return result;
            }
        }
        // 5. The byte the tool left in fuse.bin.
        const ExchangeBytes read = readExchangeFile(exchange, 1);
        if (!read.problem.isNone()) {
            removeExchangeFiles({exchange});
            result.problem = read.problem;
            return result;
        }
        if (read.bytes.isEmpty())
            return noAnswer(result, *chip, exchange, pane, collected);
        result.bytes.of(byte) = static_cast<quint8>(read.bytes.at(0));
    }

    // 6. Three zero bytes are no answer; any others fill the panel.
    if (result.bytes.allZero())
        return noAnswer(result, *chip, exchange, pane, collected);
    showByteRuns(*chip, pane, collected);
    result.panelFilled = true;
    result.problem = removeExchangeFiles({exchange});
    return result;
}
