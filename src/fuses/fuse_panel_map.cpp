#include "fuse_panel_map.h"

#include <array>

namespace fusepanel {

namespace {
const std::array<const char *, 22> commonLabels = {
    "BtLk12", "BtLk11", "BtLk02", "BtLk01", "Lock2", "lock1",            // 10..15 lock
    nullptr, nullptr, "SPIEN", "CHKOPT", "EESAVE", "BTSIZ1", "BTSIZ0", "BTRST",   // 16..23 hfuse
    "BODLVL", "BODEN", "SUT1", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1", "CKSEL0", // 24..31 lfuse
};
} // namespace

FuseByte byteOfBox(int index)
{
    switch (index / 8) {
    case 1: return FuseByte::Lock;
    case 2: return FuseByte::HighFuse;
    case 3: return FuseByte::LowFuse;
    default: return FuseByte::None;
    }
}

int bitOfBox(int index) { return 7 - index % 8; }

int boxOf(FuseByte byte, int bit)
{
    int row = 0;
    switch (byte) {
    case FuseByte::Lock: row = 1; break;
    case FuseByte::HighFuse: row = 2; break;
    case FuseByte::LowFuse: row = 3; break;
    case FuseByte::None: return -1;
    }
    return 8 * row + (7 - bit);
}

QString boxLabel(const DeviceEntry &device, int index)
{
    if (index < firstLabelledBox || index >= boxCount)
        return QStringLiteral(" ");
    if (index == 16)
        return device.label16;
    if (index == 17)
        return device.label17;
    return QString::fromLatin1(commonLabels[index - firstLabelledBox]);
}

bool boxEnabledAfterChoice(int index)
{
    // SPIEN and the clock-select bits are never changed by hand: the clock
    // bits follow a clock preset or a read, SPIEN only a read.
    if (index < firstLabelledBox || index >= boxCount)
        return false;
    return index != 18 && index < 28;
}

QRect boxGeometryTwips(int index)
{
    static const bool wide[boxCount] = {
        1, 1, 0, 0, 0, 0, 1, 0,  1, 1, 1, 0, 0, 0, 0, 1,
        1, 1, 1, 0, 0, 0, 0, 1,  1, 1, 0, 0, 0, 0, 1, 1,
    };
    const int row = index / 8;
    const int column = index % 8;
    return QRect(5520 + 960 * column, 360 + 480 * row, wide[index] ? 975 : 855, 255);
}

bool boxInFuseFrame(int index) { return index >= 1 && index <= 8; }

} // namespace fusepanel
