#include "build_platform.h"

namespace platform {

QString buildPlatformName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("windows");
#else
    return QStringLiteral("linux");
#endif
}

} // namespace platform
