#pragma once
// Commands that run fw_test_emitter (its path comes from the build).

#include "runner/tool_command.h"

#include <QStringList>

namespace fw_test {

inline QString emitterPath()
{
    return QStringLiteral(FW_TEST_EMITTER);
}

inline ToolCommand emitterCommand(const QStringList &steps)
{
    ToolCommand c;
    c.program = emitterPath();
    c.arguments = steps;
    c.text = QStringLiteral("fw_test_emitter ") + steps.join(QLatin1Char(' '));
    return c;
}

} // namespace fw_test
