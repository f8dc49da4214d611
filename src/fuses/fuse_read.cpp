#include "fuse_procedures.h"

#include "fuse_commands.h"
#include "runner/signature_check.h"

using Kind = OperationProblem::Kind;
using fusepanel::FuseByte;

namespace {
QString paneAfterByteRuns(const ChipProfile &chip, const QString &paneText, const QString &collected)
{
    return chip.readPaneKeepsCommandLine ? paneText + collected : collected;
}

FuseReadResult noAnswer(FuseReadResult result, const FuseOperation &operation, OutputPane &pane,
                        const QString &collected)
{
    pane.setPaneText(paneAfterByteRuns(*operation.chip, pane.paneText(), collected));
    result.problem = OperationProblem::of(Kind::NoAnswer);
    result.panelCleared = true;
    removeExchangeFiles({operation.exchange.read});
    return result;
}
} // namespace

FuseReadResult readFuses(const FuseOperation &operation, RunningOperation &running, OutputPane &pane)
{
    FuseReadResult result;
    const QString exchange = operation.exchange.read;
    const ProbeOutcome probe = clearExchangeAndProbe(operation, running, pane);
    result.lastCommand = probe.command;
    result.problem = probe.problem;
    if (!result.problem.isNone() || !operation.chip)
        return result;

    QString collected;
    for (const FuseByte byte : fuseReadOrder()) {
        result.problem = removeExchangeFiles({exchange});
        if (!result.problem.isNone())
            return result;
        result.lastCommand = fuseReadCommand(operation.context.prefix, byte, exchange);
        if (byte == FuseByte::HighFuse)
            pane.setPaneText(result.lastCommand.text);
        const CapturedRun captured = running.run(result.lastCommand);
        collected += captured.text;
        if (captured.abandoned) {
            removeExchangeFiles({exchange});
            result.problem = OperationProblem::of(Kind::Abandoned);
            return result;
        }
        if (byte == FuseByte::HighFuse) {
            // The run is forced past the tool's own check, so its text is checked again.
            const SignatureVerdict verdict = checkForcedRunSignature(
                captured.text, captured.exitedWithZero, operation.context.expectedSignature, operation.context.dialect);
            if (!verdict.matches) {
                // The high-fuse line stays and the tool's reason follows it; the file stays
                // until the next run removes it.
                showOutput(pane, result.lastCommand, captured.text);
                result.problem = OperationProblem::of(Kind::SecondCheckFailed, verdict.candidate);
                return result;
            }
        }
        const ExchangeBytes read = readExchangeFile(exchange, 1);
        if (!read.problem.isNone()) {
            removeExchangeFiles({exchange});
            result.problem = read.problem;
            return result;
        }
        if (read.bytes.isEmpty())
            return noAnswer(result, operation, pane, collected);
        result.bytes.of(byte) = static_cast<quint8>(read.bytes.at(0));
    }
    if (result.bytes.allZero())
        return noAnswer(result, operation, pane, collected);
    pane.setPaneText(paneAfterByteRuns(*operation.chip, pane.paneText(), collected));
    result.panelFilled = true;
    result.problem = removeExchangeFiles({exchange});
    return result;
}
