#include "fuse_procedures.h"

ProbeOutcome clearExchangeAndProbe(const FuseOperation &operation, RunningOperation &running, OutputPane &pane)
{
    ProbeOutcome outcome;
    outcome.problem = removeExchangeFiles({operation.exchange.read});
    if (!outcome.problem.isNone())
        return outcome;
    return probeChip(operation.context, running, pane);
}
