#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The fixed facts about one AVR part the simulator can pretend to be.
struct ChipModel {
    const char *id;   // avrdude part id, e.g. "m8"
    const char *name; // e.g. "ATmega8"
    std::array<uint8_t, 3> signature;
    uint8_t avr910DeviceCode;  // as in avrdude.conf
    std::size_t flashSize;     // bytes
    std::size_t flashPageSize; // bytes
    std::size_t eepromSize;    // bytes
    uint8_t factoryLowFuse;
    uint8_t factoryHighFuse;
};

const ChipModel &atmega8Model();
const ChipModel &atmega16Model();

// "m8" or "m16"; nullptr for anything else.
const ChipModel *findChipModel(const std::string &id);

// Device codes the simulated programmer announces in its 't' list.
const std::array<uint8_t, 2> &supportedDeviceCodes();

constexpr std::array<uint8_t, 4> kFactoryCalibration = {0xA5, 0x9F, 0x9D, 0xA0};
constexpr uint8_t kFactoryLock = 0xFF;
