#pragma once
// Where the 32 fuse boxes sit in the main window, in twips: left 5520 + 960 c,
// top 360 + 480 r, 255 high, 975 or 855 wide.

#include <QRect>

namespace fusepanel {

QRect boxGeometryTwips(int index);
// Boxes 1 to 8 belong to the fuse frame; the others to the window itself.
bool boxInFuseFrame(int index);

} // namespace fusepanel
