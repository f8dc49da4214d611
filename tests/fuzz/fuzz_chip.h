#pragma once
// The virtual chip a programmer fuzz target serves: its first input byte
// picks an ATmega8, an ATmega16 or an empty socket.

#include "chip.h"

#include <cstdint>

inline const ChipModel *fuzzChipModel(uint8_t choice)
{
    const ChipModel *models[] = {&atmega8Model(), &atmega16Model(), nullptr};
    return models[choice % 3];
}
