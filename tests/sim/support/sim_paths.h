#pragma once

#include <QString>

// Paths baked in by tests/sim/CMakeLists.txt.
inline QString simExecutable()
{
    return QStringLiteral(FW_SIM_EXECUTABLE);
}
inline QString simWrapper()
{
    return QStringLiteral(FW_SIM_WRAPPER);
}
inline QString realAvrdude()
{
    return QStringLiteral(FW_SIM_TEST_AVRDUDE);
}
inline QString avrdudeConf()
{
    return QStringLiteral(FW_SIM_TEST_AVRDUDE_CONF);
}
