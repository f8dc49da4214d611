#include "fuse_box_geometry.h"

#include "fuses/fuse_panel_map.h"

namespace fusepanel {

QRect boxGeometryTwips(int index)
{
    static const bool wide[boxCount] = {
        1, 1, 0, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 1,
    };
    const int row = index / 8;
    const int column = index % 8;
    return QRect(5520 + 960 * column, 360 + 480 * row, wide[index] ? 975 : 855, 255);
}

bool boxInFuseFrame(int index)
{
    return index >= 1 && index <= 8;
}

} // namespace fusepanel
