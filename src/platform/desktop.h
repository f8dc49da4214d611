#pragma once
#include <QString>

namespace platform {

// Opens a web address or a mailto: address with the desktop's handler.
// The result is deliberately not reported.
void openWithDesktop(const QString &address);

} // namespace platform
