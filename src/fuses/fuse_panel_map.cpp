#include "fuse_panel_map.h"

#include <array>

namespace fusepanel {

namespace {
const std::array<const char *, 22> commonLabels = {
    "BtLk12", "BtLk11", "BtLk02", "BtLk01", "Lock2",  "lock1",                      // 10..15 lock
    nullptr,  nullptr,  "SPIEN",  "CHKOPT", "EESAVE", "BTSIZ1", "BTSIZ0", "BTRST",  // 16..23 hfuse
    "BODLVL", "BODEN",  "SUT1",   "SUT0",   "CKSEL3", "CKSEL2", "CKSEL1", "CKSEL0", // 24..31 lfuse
};
} // namespace

FuseByte byteOfBox(int index)
{
    switch (index / 8) {
    case 1:
        return FuseByte::Lock;
    case 2:
        return FuseByte::HighFuse;
    case 3:
        return FuseByte::LowFuse;
    default:
        return FuseByte::None;
    }
}

int bitOfBox(int index)
{
    return 7 - index % 8;
}

QString boxLabel(const ChipProfile &chip, int index)
{
    if (index < firstLabelledBox || index >= boxCount)
        return QStringLiteral(" ");
    if (index == boxOf(FuseByte::HighFuse, 7))
        return chip.highBit7;
    if (index == boxOf(FuseByte::HighFuse, 6))
        return chip.highBit6;
    return QString::fromLatin1(commonLabels[index - firstLabelledBox]);
}

bool boxEnabledAfterChoice(int index)
{
    if (index < firstLabelledBox || index >= boxCount)
        return false;
    return index != spienBox && index < firstClockSelectBox;
}

} // namespace fusepanel
