#pragma once
// Holding the chip in reset: the tool connects and leaves the reset line
// active when it exits. No memory is touched, so no signature probe.

#include "runner/tool_command.h"

ToolCommand resetCommand(const ToolCommand &prefix);
