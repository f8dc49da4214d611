#include "fuse_bits.h"

using fusepanel::FuseByte;

namespace {
// Boxes 8 and 9 stand for lock bits 7 and 6 but carry no label: the read
// leaves them clear and the write passes them over, writing those bits as 0.
bool boxCounts(FuseByte byte, int bit)
{
    return byte != FuseByte::Lock || bit < 6;
}
} // namespace

quint8 &FuseBytes::of(FuseByte byte)
{
    switch (byte) {
    case FuseByte::HighFuse:
        return hfuse;
    case FuseByte::LowFuse:
        return lfuse;
    case FuseByte::Lock:
    case FuseByte::None:
        break;
    }
    return lock;
}

void spreadByte(FuseByte byte, quint8 value, PanelTicks &ticks)
{
    for (int bit = 7; bit >= 0; --bit) {
        const bool programmed = (value & (1 << bit)) == 0;
        ticks[static_cast<size_t>(fusepanel::boxOf(byte, bit))] = programmed && boxCounts(byte, bit);
    }
}

void spreadOverPanel(const FuseBytes &bytes, PanelTicks &ticks)
{
    spreadByte(FuseByte::HighFuse, bytes.hfuse, ticks);
    spreadByte(FuseByte::LowFuse, bytes.lfuse, ticks);
    spreadByte(FuseByte::Lock, bytes.lock, ticks);
}

quint8 composeByte(FuseByte byte, const PanelTicks &ticks)
{
    int value = byte == FuseByte::Lock ? 63 : 255;
    for (int bit = 7; bit >= 0; --bit) {
        if (boxCounts(byte, bit) && ticks[static_cast<size_t>(fusepanel::boxOf(byte, bit))])
            value -= 1 << bit;
    }
    return static_cast<quint8>(value);
}

FuseBytes composeFromPanel(const PanelTicks &ticks)
{
    FuseBytes bytes;
    bytes.hfuse = composeByte(FuseByte::HighFuse, ticks);
    bytes.lfuse = composeByte(FuseByte::LowFuse, ticks);
    bytes.lock = composeByte(FuseByte::Lock, ticks);
    return bytes;
}
