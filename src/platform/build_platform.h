#pragma once
#include <QString>

namespace platform {

// The operating system the program was built for: "linux" or "windows".
QString buildPlatformName();

} // namespace platform
