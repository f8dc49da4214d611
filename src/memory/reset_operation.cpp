#include "reset_operation.h"

#include "runner/command_grammar.h"

ToolCommand resetCommand(const ToolCommand &prefix)
{
    return prefix + grammar::resetExitFlag();
}

void holdInReset(RunningOperation &running, OutputPane &pane)
{
    showAndCapture(pane, resetCommand(running.context().prefix), running);
}
