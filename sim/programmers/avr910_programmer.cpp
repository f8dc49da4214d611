#include "avr910_programmer.h"

#include "chip.h"
#include "isp_instruction.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// Bytes after the command letter, for every command of fixed length.
int argumentCount(uint8_t command)
{
    switch (command) {
    case 'A':
        return 2;
    case 'c':
    case 'C':
    case 'D':
    case 'T':
    case 'x':
    case 'y':
    case 'l':
        return 1;
    case ':':
        return 3;
    case '.':
        return 4;
    case 'g':
        return 3;
    default:
        return 0;
    }
}

std::string hexBytes(const uint8_t *p, std::size_t n)
{
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", p[i]);
        s += buf;
    }
    return s;
}

std::string hex16(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFF);
    return buf;
}

std::string commandName(uint8_t c)
{
    if (std::isprint(c)) {
        return std::string("'") + char(c) + "'";
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", c);
    return buf;
}

} // namespace

Avr910Programmer::Avr910Programmer(Chip &chip, unsigned blockSize, ProgrammerEvents *events)
    : chip_(chip), blockSize_(blockSize), events_(events)
{}

std::size_t Avr910Programmer::completeLength(const uint8_t *p, std::size_t available) const
{
    if (available == 0)
        return 0;
    if (p[0] == 'B') {
        if (available < 4)
            return 0;
        const std::size_t total = 4 + (std::size_t(p[1]) << 8 | p[2]);
        return available >= total ? total : 0;
    }
    const std::size_t total = 1 + argumentCount(p[0]);
    return available >= total ? total : 0;
}

void Avr910Programmer::receive(const uint8_t *data, std::size_t size, std::string &answer)
{
    pending_.insert(pending_.end(), data, data + size);
    std::size_t used = 0;
    while (std::size_t length = completeLength(pending_.data() + used, pending_.size() - used)) {
        execute(pending_.data() + used, length, answer);
        used += length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + used);
}

void Avr910Programmer::changed(unsigned parts)
{
    if (parts && events_)
        events_->chipChanged(parts);
}

void Avr910Programmer::execute(const uint8_t *cmd, std::size_t length, std::string &answer)
{
    const std::size_t answerStart = answer.size();
    std::string what;
    const uint8_t c = cmd[0];

    switch (c) {
    case 'S':
        if (events_)
            events_->sessionStarting();
        answer += kProgrammerId;
        what = "programmer id";
        break;
    case 'V':
        answer += "38";
        what = "software version";
        break;
    case 'v':
        answer += "10";
        what = "hardware version";
        break;
    case 'p':
        answer += 'S';
        what = "programmer type: serial";
        break;
    case 'a':
        answer += 'Y';
        what = "auto-increment supported";
        break;
    case 'b':
        if (blockSize_) {
            answer += 'Y';
            answer += char(blockSize_ >> 8);
            answer += char(blockSize_ & 0xFF);
            what = "block mode, buffer " + std::to_string(blockSize_) + " bytes";
        } else {
            answer += 'N';
            what = "no block mode";
        }
        break;
    case 't':
        for (uint8_t code : supportedDeviceCodes())
            answer += char(code);
        answer += '\0';
        what = "supported device codes";
        break;
    case 'T': {
        bool known = false;
        for (uint8_t code : supportedDeviceCodes())
            known = known || code == cmd[1];
        if (known) {
            deviceCode_ = cmd[1];
            answer += kAck;
            what = "select device";
        } else {
            answer += kError;
            what = "select unsupported device";
        }
        break;
    }
    case 'P':
        if (events_)
            events_->sessionStarting();
        answer += kAck;
        what = "enter programming mode";
        break;
    case 'L':
        answer += kAck;
        what = "leave programming mode";
        break;
    case 'E':
        answer += kAck;
        what = "exit";
        break;
    case 'x':
    case 'y':
        answer += kAck;
        what = c == 'x' ? "LED on" : "LED off";
        break;
    case 'e':
        changed(chip_.chipErase());
        answer += kAck;
        what = "chip erase";
        break;
    case 'A':
        address_ = unsigned(cmd[1]) << 8 | cmd[2];
        answer += kAck;
        what = "set address " + hex16(address_);
        break;
    case 'c':
    case 'C':
        chip_.loadPageBuffer(address_, c == 'C', cmd[1]);
        what = std::string("load flash ") + (c == 'C' ? "high" : "low") + " byte, word " + hex16(address_);
        if (c == 'C')
            address_ = (address_ + 1) & 0xFFFF;
        answer += kAck;
        break;
    case 'm':
        changed(chip_.writePage(address_));
        answer += kAck;
        what = "write flash page at word " + hex16(address_);
        break;
    case 'R':
        answer += char(chip_.readFlash(address_ * 2 + 1));
        answer += char(chip_.readFlash(address_ * 2));
        what = "read flash word " + hex16(address_);
        address_ = (address_ + 1) & 0xFFFF;
        break;
    case 'd':
        answer += char(chip_.readEeprom(address_));
        what = "read eeprom " + hex16(address_);
        address_ = (address_ + 1) & 0xFFFF;
        break;
    case 'D':
        changed(chip_.writeEeprom(address_, cmd[1]));
        answer += kAck;
        what = "write eeprom " + hex16(address_);
        address_ = (address_ + 1) & 0xFFFF;
        break;
    case 'l':
        changed(chip_.writeLock(cmd[1]));
        answer += kAck;
        what = "write lock bits";
        break;
    case 'r':
        answer += char(chip_.readLock());
        what = "read lock bits";
        break;
    case 'F':
        answer += char(chip_.readLowFuse());
        what = "read lfuse";
        break;
    case 'N':
        answer += char(chip_.readHighFuse());
        what = "read hfuse";
        break;
    case 'Q':
        answer += char(chip_.present() ? 0xFF : 0x00);
        what = "read efuse (none on this part)";
        break;
    case 's':
        // Last signature byte first: avr910.c swaps bytes 0 and 2 back.
        answer += char(chip_.signatureByte(2));
        answer += char(chip_.signatureByte(1));
        answer += char(chip_.signatureByte(0));
        what = "read signature";
        break;
    case ':':
    case '.': {
        const std::array<uint8_t, 4> instruction = {cmd[1], cmd[2], cmd[3], uint8_t(c == '.' ? cmd[4] : 0)};
        IspOutcome outcome = executeIspInstruction(chip_, instruction);
        changed(outcome.changed);
        answer += char(outcome.output);
        answer += kAck;
        what = "universal: " + outcome.description;
        break;
    }
    case 'B':
        executeBlockWrite(cmd, length, answer, what);
        break;
    case 'g':
        executeBlockRead(cmd, answer, what);
        break;
    case 0x1B:
        what = "escape (no answer)";
        break;
    default:
        answer += kError;
        what = "unknown command";
        break;
    }

    ++commands_;
    if (events_) {
        std::string line = commandName(c);
        const std::size_t shownArgs = c == 'B' ? 3 : length - 1;
        if (shownArgs)
            line += " " + hexBytes(cmd + 1, shownArgs);
        if (c == 'B')
            line += " +" + std::to_string(length - 4) + " data bytes";
        line += " | " + what + " | => ";
        const std::size_t answerLength = answer.size() - answerStart;
        if (answerLength == 0)
            line += "(nothing)";
        else if (answerLength <= 8)
            line += hexBytes(reinterpret_cast<const uint8_t *>(answer.data()) + answerStart, answerLength);
        else
            line += std::to_string(answerLength) + " bytes";
        events_->commandServed(line);
    }
}

void Avr910Programmer::executeBlockWrite(const uint8_t *cmd, std::size_t length, std::string &answer, std::string &what)
{
    const std::size_t size = length - 4;
    const uint8_t memory = cmd[3];
    const uint8_t *data = cmd + 4;
    if (blockSize_ == 0 || size > blockSize_ || (memory != 'F' && memory != 'E')) {
        answer += kError;
        what = "bad block write";
        return;
    }
    unsigned parts = 0;
    if (memory == 'F') {
        what = "write flash block at word " + hex16(address_);
        for (std::size_t i = 0; i < size; ++i)
            parts |= chip_.programFlash(address_ * 2 + unsigned(i), data[i]);
        address_ = (address_ + unsigned(size + 1) / 2) & 0xFFFF;
    } else {
        what = "write eeprom block at " + hex16(address_);
        for (std::size_t i = 0; i < size; ++i)
            parts |= chip_.writeEeprom(address_ + unsigned(i), data[i]);
        address_ = (address_ + unsigned(size)) & 0xFFFF;
    }
    changed(parts);
    answer += kAck;
}

void Avr910Programmer::executeBlockRead(const uint8_t *cmd, std::string &answer, std::string &what)
{
    const std::size_t size = std::size_t(cmd[1]) << 8 | cmd[2];
    const uint8_t memory = cmd[3];
    if (blockSize_ == 0 || size > blockSize_ || (memory != 'F' && memory != 'E')) {
        answer += kError;
        what = "bad block read";
        return;
    }
    if (memory == 'F') {
        what = "read flash block at word " + hex16(address_);
        for (std::size_t i = 0; i < size; ++i)
            answer += char(chip_.readFlash(address_ * 2 + unsigned(i)));
        address_ = (address_ + unsigned(size + 1) / 2) & 0xFFFF;
    } else {
        what = "read eeprom block at " + hex16(address_);
        for (std::size_t i = 0; i < size; ++i)
            answer += char(chip_.readEeprom(address_ + unsigned(i)));
        address_ = (address_ + unsigned(size)) & 0xFFFF;
    }
}
