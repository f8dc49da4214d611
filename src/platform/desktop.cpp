#include "desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

void openWithDesktop(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace platform
