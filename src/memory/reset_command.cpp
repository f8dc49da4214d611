#include "reset_command.h"

#include "runner/command_grammar.h"

ToolCommand resetCommand(const ToolCommand &prefix)
{
    return prefix + grammar::resetExitFlag();
}
