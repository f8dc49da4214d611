#pragma once

#include "programmer_events.h"

#include <cstdint>
#include <string>

class Chip;

// What sits on the machine's parallel ports.
enum class ParportMode {
    Dongle,   // a pony-stk200 dongle on /dev/parport0; /dev/parport1 does not exist
    Absent,   // no parallel port at all
    NoAccess, // /dev/parport0 exists, but the user is not in its group (lp)
};

bool parseParportMode(const std::string &text, ParportMode &mode);

// The simulator's side of a bit-banged parallel-port dongle: the interposer
// in avrdude models the dongle and the target's SPI bit by bit and hands over
// whole ISP instructions. Silicon decides what it shifts out with an
// instruction's 4th byte once the first three are in, before a write's data
// byte arrives; so each request carries the instruction just finished
// together with the first three bytes of the one under way, and is answered
// with the byte the chip shifts out with that one's 4th byte. No I/O here.
class ParportProgrammer {
public:
    ParportProgrammer(Chip &chip, ParportMode mode, ProgrammerEvents *events = nullptr);

    // 0 when the port can be opened, else the errno open() fails with.
    int openPort(unsigned number) const;
    // The target's RESET went low with the dongle's buffer on. True when a chip answers.
    bool sessionStarts();
    // payload: a finished instruction (4 bytes), the first three bytes of the
    // next (3), or both (7). Returns false for any other length. `output` gets
    // the byte shifted out with the begun instruction's 4th byte.
    bool instructions(const uint8_t *payload, std::size_t size, uint8_t &output);

private:
    Chip &chip_;
    ParportMode mode_;
    ProgrammerEvents *events_;
};
