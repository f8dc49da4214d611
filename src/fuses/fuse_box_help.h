#pragma once
// What each labelled fuse box means, in the words of the chip's datasheet:
// its name there, its byte and bit, what a tick (a programmed bit, 0 in the
// byte) does, its factory state, its effect and, for the bits that can shut
// the programmer out, how the chip is brought back. The box shows it as its
// tooltip and screen readers read it as the box's description.

#include "chip_profile.h"

#include <QString>

namespace fusepanel {

// Plain text, one fact a line; warnings begin with "警告". Empty for boxes 0
// to 9, which stand for no bit.
QString boxHelp(const ChipProfile &device, int index);

} // namespace fusepanel
