#include "parport_programmer.h"

#include "chip.h"
#include "chip_model.h"
#include "isp_instruction.h"

#include <cerrno>

bool parseParportMode(const std::string &text, ParportMode &mode)
{
    static const struct {
        const char *name;
        ParportMode mode;
    } names[] = {
        {"dongle", ParportMode::Dongle}, {"absent", ParportMode::Absent}, {"no-access", ParportMode::NoAccess}};
    for (const auto &n : names) {
        if (text == n.name) {
            mode = n.mode;
            return true;
        }
    }
    return false;
}

ParportProgrammer::ParportProgrammer(Chip &chip, ParportMode mode, ProgrammerEvents *events)
    : chip_(chip), mode_(mode), events_(events)
{}

int ParportProgrammer::openPort(unsigned number) const
{
    if (mode_ == ParportMode::Absent || number != 0)
        return ENOENT;
    return mode_ == ParportMode::NoAccess ? EACCES : 0;
}

bool ParportProgrammer::sessionStarts()
{
    if (events_)
        events_->sessionStarting();
    // An ATmega8 with RSTDISBL programmed (high fuse bit 7 = 0) has turned
    // its RESET pin into an I/O pin: serial programming cannot be entered.
    const bool resetPin = chip_.model() != &atmega8Model() || (chip_.readHighFuse() & 0x80);
    if (events_)
        events_->commandServed(resetPin ? "parport: RESET low, buffer on: programming session"
                                        : "parport: RESET low, but RSTDISBL is programmed: no session");
    return chip_.present() && resetPin;
}

bool ParportProgrammer::instructions(const uint8_t *p, std::size_t size, uint8_t &output)
{
    if (size != 3 && size != 4 && size != 7)
        return false;
    if (size != 3) {
        const IspOutcome r = executeIspInstruction(chip_, {p[0], p[1], p[2], p[3]});
        if (r.changed && events_)
            events_->chipChanged(r.changed);
        if (events_)
            events_->commandServed("parport isp " + r.description);
        p += 4;
    }
    output = 0;
    if (size != 4) {
        // What a read shifts out does not depend on the 4th byte; a scratch
        // copy keeps a write from happening before its data byte is in.
        Chip scratch = chip_;
        output = executeIspInstruction(scratch, {p[0], p[1], p[2], 0x00}).output;
    }
    return true;
}
