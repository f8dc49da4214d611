#pragma once
// The probe every operation that touches a memory runs first: the tool is
// asked for the chip's signature, which must be the chosen device's.

#include "operation_context.h"
#include "operation_problem.h"
#include "output_pane.h"
#include "running_operation.h"

// Runs the probe on the operation's frozen inputs. A probe that matches
// stays unshown; one that fails shows its command line, CR LF and the tool's
// text in the pane. The problem is SignatureMismatch, Abandoned, or none.
OperationProblem probeChip(RunningOperation &operation, OutputPane &pane);
