#pragma once
#include <QStringList>

namespace platform {

// The families to ask for when a window names a Windows face: the face
// itself first, then the installed faces of the same style that stand in for
// it, then the fontconfig family of that style.
QStringList fontFamilies(const QString &windowsFace);

} // namespace platform
