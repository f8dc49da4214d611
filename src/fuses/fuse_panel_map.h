#pragma once
// The fuse-bit panel: 32 boxes in 4 rows of 8. Row 1 is the lock byte, row 2
// the high fuse, row 3 the low fuse; column c shows bit 7 - c. A ticked box
// is a programmed bit, 0 in the byte.

#include "chip_profile.h"

#include <QString>

namespace fusepanel {

constexpr int boxCount = 32;
constexpr int firstLabelledBox = 10; // boxes below keep their blank caption

enum class FuseByte { None, Lock, HighFuse, LowFuse };

FuseByte byteOfBox(int index);
int bitOfBox(int index);                    // 7..0
constexpr int boxOf(FuseByte byte, int bit) // the inverse; -1 for FuseByte::None
{
    const int row = byte == FuseByte::Lock ? 1 : byte == FuseByte::HighFuse ? 2 : byte == FuseByte::LowFuse ? 3 : -1;
    return row < 0 ? -1 : 8 * row + (7 - bit);
}

// The boxes a user never ticks by hand: SPIEN (hfuse bit 5) and the clock
// select bits CKSEL3..CKSEL0 (lfuse bits 3 to 0), which follow a preset or a read.
constexpr int spienBox = boxOf(FuseByte::HighFuse, 5);
constexpr int firstClockSelectBox = boxOf(FuseByte::LowFuse, 3);

// The caption a box gets when a device is chosen (" " for boxes 0 to 9).
QString boxLabel(const ChipProfile &chip, int index);
// Whether the user may change the box by hand once a device is chosen.
bool boxEnabledAfterChoice(int index);

} // namespace fusepanel
