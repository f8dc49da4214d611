#include "signature_probe.h"

#include "signature_check.h"

ProbeOutcome probeChip(const OperationContext &context, RunningOperation &operation, OutputPane &pane)
{
    ProbeOutcome outcome;
    outcome.command = signatureProbeCommand(context.prefix, context.dialect);
    const CapturedRun captured = operation.run(outcome.command);
    if (captured.abandoned) {
        outcome.problem = OperationProblem::of(OperationProblem::Kind::Abandoned);
        return outcome;
    }
    const SignatureVerdict verdict = checkSignature(captured.text, context.expectedSignature);
    if (verdict.matches)
        return outcome;
    showOutput(pane, outcome.command, captured.text);
    outcome.problem = OperationProblem::of(OperationProblem::Kind::SignatureMismatch, verdict.candidate);
    return outcome;
}

OperationProblem probeChip(RunningOperation &operation, OutputPane &pane)
{
    return probeChip(operation.context(), operation, pane).problem;
}
