#pragma once
// The fuse and lock bytes as the panel shows them: a ticked box is a
// programmed bit, 0 in the byte. Reading spreads the bytes over boxes 8 to
// 31; writing composes them from boxes 10 to 31 only.

#include "fuse_panel_map.h"

#include <QtGlobal>

#include <array>

using PanelTicks = std::array<bool, fusepanel::boxCount>;

struct FuseBytes {
    quint8 hfuse = 0;
    quint8 lfuse = 0;
    quint8 lock = 0;

    quint8 &of(fusepanel::FuseByte byte);
    bool allZero() const { return hfuse == 0 && lfuse == 0 && lock == 0; }
};

// Read map: ticks the row's boxes of the programmed bits and clears the
// others. Boxes 8 and 9 (lock bits 7 and 6) are never ticked.
void spreadByte(fusepanel::FuseByte byte, quint8 value, PanelTicks &ticks);
void spreadOverPanel(const FuseBytes &bytes, PanelTicks &ticks);

// Write map: 255 minus the weights of the ticked boxes (63 for the lock byte,
// whose bits 7 and 6 are always written as 0; boxes 8 and 9 count for nothing).
quint8 composeByte(fusepanel::FuseByte byte, const PanelTicks &ticks);
FuseBytes composeFromPanel(const PanelTicks &ticks);
