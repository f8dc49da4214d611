// Everything avrdude may send the virtual AVR910 programmer, in pieces of
// any length. The first byte picks the chip (ATmega8, ATmega16 or an empty
// socket), the block buffer (128, none, 64 or 65535 bytes) and where the
// stream is cut.

#include "fuzz_check.h"
#include "fuzz_chip.h"

#include "avr910_programmer.h"

#include <string>

namespace {
struct CountingEvents : ProgrammerEvents {
    void commandServed(const std::string &line) override
    {
        FUZZ_CHECK(line.find(" | ") != std::string::npos);
        ++served;
    }
    unsigned served = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const ChipModel *model = fuzzChipModel(choice);
    Chip chip(model);
    CountingEvents events;
    const unsigned blockSizes[] = {128, 0, 64, 65535};
    Avr910Programmer programmer(chip, blockSizes[(choice >> 2) & 3], &events);

    std::string answer;
    const std::size_t piece = 1 + (choice >> 4);
    for (std::size_t at = 1; at < size; at += piece) {
        const std::size_t before = answer.size();
        programmer.receive(data + at, std::min(piece, size - at), answer);
        FUZZ_CHECK(answer.size() >= before);
        FUZZ_CHECK(programmer.address() <= 0xFFFF);
    }
    if (model) {
        FUZZ_CHECK(chip.memories().flash.size() == model->flashSize);
        FUZZ_CHECK(chip.memories().eeprom.size() == model->eepromSize);
    }
    programmer.discardPartialCommand();
    FUZZ_CHECK(!programmer.hasPartialCommand());
    // After the leftovers are gone the programmer still answers.
    const uint8_t version = 'V';
    const std::size_t before = answer.size();
    programmer.receive(&version, 1, answer);
    FUZZ_CHECK(answer.substr(before) == "38");
    return 0;
}
