// Every control transfer avrdude may hand the virtual USBasp: each request
// is eight setup bytes, then for OUT requests as many data bytes as wLength
// asks (or what is left). The first byte picks the chip and the mode.

#include "fuzz_check.h"
#include "fuzz_chip.h"

#include "usbasp_programmer.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const UsbaspMode modes[] = {UsbaspMode::Normal, UsbaspMode::OldFirmware, UsbaspMode::NoAccess, UsbaspMode::Absent,
                                UsbaspMode::OldIds};
    const ChipModel *model = fuzzChipModel(choice);
    Chip chip(model);
    UsbaspProgrammer programmer(chip, modes[(choice >> 2) % 5]);
    FUZZ_CHECK(programmer.deviceDescriptor().at(0) == 18);

    for (size_t at = 1; at + 8 <= size;) {
        const UsbSetup setup = UsbSetup::parse(data + at);
        at += 8;
        size_t outSize = 0;
        if (!setup.deviceToHost()) {
            outSize = std::min<size_t>(setup.length, size - at);
        }
        std::string in;
        const int moved = programmer.controlTransfer(setup, data + at, outSize, in);
        at += outSize;
        FUZZ_CHECK(moved >= -1);
        if (setup.deviceToHost() && moved >= 0)
            FUZZ_CHECK(static_cast<size_t>(moved) == in.size() && in.size() <= setup.length);
    }
    if (model) {
        FUZZ_CHECK(chip.memories().flash.size() == model->flashSize);
        FUZZ_CHECK(chip.memories().eeprom.size() == model->eepromSize);
    }
    return 0;
}
