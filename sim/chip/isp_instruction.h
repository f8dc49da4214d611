#pragma once

#include <array>
#include <cstdint>
#include <string>

class Chip;

struct IspOutcome {
    uint8_t output = 0x00;   // the byte the chip shifts out with the 4th byte
    unsigned changed = 0;    // ChipPart bits
    std::string description; // for the protocol log
};

// Runs one 4-byte serial programming instruction (the ATmega8/ATmega16 set,
// as written in avrdude.conf) against the chip.
IspOutcome executeIspInstruction(Chip &chip, const std::array<uint8_t, 4> &instruction);
