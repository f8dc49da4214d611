#pragma once
// The clock-source list: each entry sets the four clock-select boxes
// CKSEL3..CKSEL0 (boxes 28 to 31) and nothing else.

#include "fuse_bits.h"

#include <QString>

#include <array>

struct ClockPreset {
    const char *text;          // the list text, UTF-8
    std::array<bool, 4> ticks; // boxes 28, 29, 30, 31
};

const std::array<ClockPreset, 13> &clockPresets();

// The list texts in list order.
QStringList clockPresetTexts();

// Sets boxes 28 to 31 from the entry whose text equals listText exactly;
// false, with nothing changed, when there is none.
bool applyClockPreset(const QString &listText, PanelTicks &ticks);
