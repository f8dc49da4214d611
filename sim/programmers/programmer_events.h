#pragma once

#include <string>

// What a programmer tells the world around it while serving requests.
class ProgrammerEvents {
public:
    virtual ~ProgrammerEvents() = default;
    // A new avrdude run enters programming mode: reload the chip's memories.
    virtual void sessionStarting() {}
    // Called before the request's answer is produced, with ChipPart bits.
    virtual void chipChanged(unsigned /*parts*/) {}
    // One readable line per request, for the protocol log.
    virtual void commandServed(const std::string & /*line*/) {}
};
