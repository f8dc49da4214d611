#include "signature_probe.h"

#include "signature_check.h"

OperationProblem probeChip(RunningOperation &operation, OutputPane &pane)
{
    const OperationContext &frozen = operation.context();
    const ToolCommand probe = signatureProbeCommand(frozen.prefix, frozen.dialect);
    const CapturedRun captured = operation.run(probe);
    if (captured.abandoned)
        return OperationProblem::of(OperationProblem::Kind::Abandoned);
    const SignatureVerdict verdict = checkSignature(captured.text, frozen.expectedSignature);
    if (verdict.matches)
        return OperationProblem();
    showOutput(pane, probe, captured.text);
    return OperationProblem::of(OperationProblem::Kind::SignatureMismatch, verdict.candidate);
}
