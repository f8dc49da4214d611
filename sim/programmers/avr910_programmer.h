#pragma once

#include "programmer_events.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Chip;

// The serial side of an AVR910 programmer (with the AVR109 block commands),
// as avrdude's "-c avr910" driver talks to it. Bytes go in, answer bytes come
// out; no I/O happens here.
class Avr910Programmer {
public:
    static constexpr char kAck = '\r';
    static constexpr char kError = '?';
    static constexpr const char *kProgrammerId = "AVR ISP";

    // blockSize 0 makes a classic programmer without block mode.
    Avr910Programmer(Chip &chip, unsigned blockSize, ProgrammerEvents *events = nullptr);

    // Consumes bytes and appends the answer to every command completed by
    // them. Bytes of an unfinished command are kept for the next call.
    void receive(const uint8_t *data, std::size_t size, std::string &answer);

    bool hasPartialCommand() const { return !pending_.empty(); }
    void discardPartialCommand() { pending_.clear(); }

    unsigned address() const { return address_; }
    unsigned commandsServed() const { return commands_; }

private:
    std::size_t completeLength(const uint8_t *p, std::size_t available) const;
    void execute(const uint8_t *cmd, std::size_t length, std::string &answer);
    void executeBlockWrite(const uint8_t *cmd, std::size_t length, std::string &answer, std::string &what);
    void executeBlockRead(const uint8_t *cmd, std::string &answer, std::string &what);
    void changed(unsigned parts);

    Chip &chip_;
    unsigned blockSize_;
    ProgrammerEvents *events_;
    std::vector<uint8_t> pending_;
    unsigned address_ = 0; // word address for Flash, byte address for EEPROM
    uint8_t deviceCode_ = 0;
    unsigned commands_ = 0;
};
