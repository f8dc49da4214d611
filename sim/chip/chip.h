#pragma once

#include "chip_model.h"

#include <array>
#include <cstdint>
#include <vector>

// Bits telling which memories an operation changed, so only those get saved.
enum ChipPart : unsigned {
    FlashPart = 1u << 0,
    EepromPart = 1u << 1,
    LowFusePart = 1u << 2,
    HighFusePart = 1u << 3,
    LockPart = 1u << 4,
    CalibrationPart = 1u << 5,
    AllChipParts = (1u << 6) - 1,
};

struct ChipMemories {
    std::vector<uint8_t> flash;
    std::vector<uint8_t> eeprom;
    uint8_t lowFuse = 0xFF;
    uint8_t highFuse = 0xFF;
    uint8_t lock = 0xFF;
    std::array<uint8_t, 4> calibration{};

    static ChipMemories factory(const ChipModel &model);
};

// The target AVR behind the programmer, with the few silicon rules that are
// cheap to get right (see sim/README.md). A Chip built without a model is an
// empty socket: every read gives 0x00 and writes go nowhere.
class Chip {
public:
    explicit Chip(const ChipModel *model);

    bool present() const { return model_ != nullptr; }
    const ChipModel *model() const { return model_; }

    ChipMemories &memories() { return mem_; }
    const ChipMemories &memories() const { return mem_; }

    uint8_t signatureByte(unsigned index) const;
    uint8_t calibrationByte(unsigned index) const;
    uint8_t readFlash(uint32_t byteAddress) const;
    uint8_t readEeprom(uint32_t address) const;
    uint8_t readLowFuse() const;
    uint8_t readHighFuse() const;
    uint8_t readLock() const;

    // The write operations return the ChipPart bits whose content changed.
    void loadPageBuffer(uint32_t wordAddress, bool highByte, uint8_t value);
    unsigned writePage(uint32_t wordAddress);
    unsigned programFlash(uint32_t byteAddress, uint8_t value);
    unsigned writeEeprom(uint32_t address, uint8_t value);
    unsigned writeLowFuse(uint8_t value);
    unsigned writeHighFuse(uint8_t value);
    unsigned writeLock(uint8_t value);
    unsigned chipErase();

    // Lock bit modes 2 and 3: LB1 programmed stops Flash, EEPROM and fuse
    // programming; LB1 and LB2 both programmed also hide Flash and EEPROM.
    bool programmingLocked() const;
    bool verificationLocked() const;

private:
    void clearPageBuffer();

    const ChipModel *model_;
    ChipMemories mem_;
    std::vector<uint8_t> pageBuffer_;
};

// Fuse and lock bits named where the rules need them (0 = programmed).
constexpr uint8_t kHighFuseSpien = 1u << 5;
constexpr uint8_t kHighFuseEesave = 1u << 3;
constexpr uint8_t kLockUnusedBits = 0xC0;
constexpr uint8_t kLockLb1 = 1u << 0;
constexpr uint8_t kLockLb2 = 1u << 1;
