#include "tool_command.h"

CommandFragment &CommandFragment::operator+=(const CommandFragment &other)
{
    text += other.text;
    arguments += other.arguments;
    return *this;
}

CommandFragment operator+(CommandFragment a, const CommandFragment &b)
{
    a += b;
    return a;
}

ToolCommand &ToolCommand::operator+=(const CommandFragment &f)
{
    text += f.text;
    arguments += f.arguments;
    return *this;
}

ToolCommand operator+(ToolCommand c, const CommandFragment &f)
{
    c += f;
    return c;
}
