#pragma once
// Holding the chip in reset: the tool connects and leaves the reset line
// active when it exits. No memory is touched, so no signature probe and no
// dialect. It works on the prefix frozen in the operation in progress and
// runs the tool only through it.

#include "runner/output_pane.h"
#include "runner/running_operation.h"
#include "runner/tool_command.h"

// prefix " -E reset"
ToolCommand resetCommand(const ToolCommand &prefix);

// The pane shows the command line, CR LF and the tool's text; nothing else
// is told.
void holdInReset(RunningOperation &running, OutputPane &pane);
