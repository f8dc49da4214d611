#include "chip_model.h"

const ChipModel &atmega8Model()
{
    static const ChipModel model{"m8", "ATmega8", {0x1E, 0x93, 0x07}, 0x76, 8 * 1024, 64, 512, 0xE1, 0xD9};
    return model;
}

const ChipModel &atmega16Model()
{
    static const ChipModel model{"m16", "ATmega16", {0x1E, 0x94, 0x03}, 0x74, 16 * 1024, 128, 512, 0xE1, 0x99};
    return model;
}

const ChipModel *findChipModel(const std::string &id)
{
    if (id == "m8")
        return &atmega8Model();
    if (id == "m16")
        return &atmega16Model();
    return nullptr;
}

const std::array<uint8_t, 2> &supportedDeviceCodes()
{
    static const std::array<uint8_t, 2> codes = {atmega8Model().avr910DeviceCode, atmega16Model().avr910DeviceCode};
    return codes;
}
