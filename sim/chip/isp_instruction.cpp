#include "isp_instruction.h"

#include "chip.h"

#include <cstdio>

namespace {

std::string hex8(uint8_t v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v);
    return buf;
}

std::string hex16(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFF);
    return buf;
}

} // namespace

IspOutcome executeIspInstruction(Chip &chip, const std::array<uint8_t, 4> &in)
{
    IspOutcome r;
    const unsigned address = unsigned(in[1]) << 8 | in[2];
    const uint8_t data = in[3];

    switch (in[0]) {
    case 0xAC:
        if (in[1] == 0x53) {
            r.description = "programming enable";
        } else if ((in[1] & 0xE0) == 0x80) {
            r.description = "chip erase";
            r.changed = chip.chipErase();
        } else if (in[1] == 0xA0) {
            r.description = "write lfuse " + hex8(data);
            r.changed = chip.writeLowFuse(data);
        } else if (in[1] == 0xA8) {
            r.description = "write hfuse " + hex8(data);
            r.changed = chip.writeHighFuse(data);
        } else if ((in[1] & 0xE0) == 0xE0) {
            r.description = "write lock " + hex8(data);
            r.changed = chip.writeLock(data);
        } else {
            r.description = "unknown 0xAC instruction";
        }
        break;
    case 0x50:
        if (in[1] == 0x00) {
            r.output = chip.readLowFuse();
            r.description = "read lfuse";
        } else {
            // ATmega8/16 have no extended fuse; unused fuse bits read as 1.
            r.output = chip.present() ? 0xFF : 0x00;
            r.description = "read efuse (none on this part)";
        }
        break;
    case 0x58:
        if (in[1] == 0x08) {
            r.output = chip.readHighFuse();
            r.description = "read hfuse";
        } else {
            r.output = chip.readLock();
            r.description = "read lock";
        }
        break;
    case 0x30:
        r.output = chip.signatureByte(in[2] & 0x03);
        r.description = "read signature byte " + std::to_string(in[2] & 0x03);
        break;
    case 0x38:
        r.output = chip.calibrationByte(in[2] & 0x03);
        r.description = "read calibration byte " + std::to_string(in[2] & 0x03);
        break;
    case 0x20:
    case 0x28: {
        const bool high = in[0] == 0x28;
        r.output = chip.readFlash(address * 2 + (high ? 1 : 0));
        r.description = std::string("read flash ") + (high ? "high" : "low") + " byte, word " + hex16(address);
        break;
    }
    case 0x40:
    case 0x48: {
        const bool high = in[0] == 0x48;
        chip.loadPageBuffer(address, high, data);
        r.description = std::string("load page buffer ") + (high ? "high" : "low") + " byte, word " + hex16(address);
        break;
    }
    case 0x4C:
        r.changed = chip.writePage(address);
        r.description = "write flash page, word " + hex16(address);
        break;
    case 0xA0:
        r.output = chip.readEeprom(address);
        r.description = "read eeprom " + hex16(address);
        break;
    case 0xC0:
        r.changed = chip.writeEeprom(address, data);
        r.description = "write eeprom " + hex16(address) + " = " + hex8(data);
        break;
    case 0xF0:
        r.output = 0x00; // never busy
        r.description = "poll ready";
        break;
    default:
        r.description = "unknown instruction";
        break;
    }
    return r;
}
