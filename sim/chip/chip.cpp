#include "chip.h"

#include <algorithm>

ChipMemories ChipMemories::factory(const ChipModel &model)
{
    ChipMemories m;
    m.flash.assign(model.flashSize, 0xFF);
    m.eeprom.assign(model.eepromSize, 0xFF);
    m.lowFuse = model.factoryLowFuse;
    m.highFuse = model.factoryHighFuse;
    m.lock = kFactoryLock;
    m.calibration = kFactoryCalibration;
    return m;
}

Chip::Chip(const ChipModel *model) : model_(model)
{
    if (model_) {
        mem_ = ChipMemories::factory(*model_);
        pageBuffer_.assign(model_->flashPageSize, 0xFF);
    }
}

uint8_t Chip::signatureByte(unsigned index) const
{
    if (!present())
        return 0x00;
    return index < 3 ? model_->signature[index] : 0xFF;
}

uint8_t Chip::calibrationByte(unsigned index) const
{
    return present() ? mem_.calibration[index % 4] : 0x00;
}

uint8_t Chip::readFlash(uint32_t byteAddress) const
{
    if (!present())
        return 0x00;
    if (verificationLocked())
        return 0xFF;
    return mem_.flash[byteAddress % mem_.flash.size()];
}

uint8_t Chip::readEeprom(uint32_t address) const
{
    if (!present())
        return 0x00;
    if (verificationLocked())
        return 0xFF;
    return mem_.eeprom[address % mem_.eeprom.size()];
}

uint8_t Chip::readLowFuse() const
{
    return present() ? mem_.lowFuse : 0x00;
}

uint8_t Chip::readHighFuse() const
{
    return present() ? mem_.highFuse : 0x00;
}

uint8_t Chip::readLock() const
{
    return present() ? uint8_t(mem_.lock | kLockUnusedBits) : 0x00;
}

bool Chip::programmingLocked() const
{
    return (mem_.lock & kLockLb1) == 0;
}

bool Chip::verificationLocked() const
{
    return (mem_.lock & (kLockLb1 | kLockLb2)) == 0;
}

void Chip::clearPageBuffer()
{
    std::fill(pageBuffer_.begin(), pageBuffer_.end(), 0xFF);
}

void Chip::loadPageBuffer(uint32_t wordAddress, bool highByte, uint8_t value)
{
    if (!present())
        return;
    const std::size_t index = (wordAddress * 2 + (highByte ? 1 : 0)) % pageBuffer_.size();
    pageBuffer_[index] = value;
}

unsigned Chip::writePage(uint32_t wordAddress)
{
    if (!present())
        return 0;
    unsigned changed = 0;
    if (!programmingLocked()) {
        const std::size_t pageSize = pageBuffer_.size();
        const std::size_t start = (std::size_t(wordAddress) * 2 % mem_.flash.size()) / pageSize * pageSize;
        for (std::size_t i = 0; i < pageSize; ++i) {
            const uint8_t before = mem_.flash[start + i];
            mem_.flash[start + i] = before & pageBuffer_[i];
            if (mem_.flash[start + i] != before)
                changed = FlashPart;
        }
    }
    clearPageBuffer();
    return changed;
}

unsigned Chip::programFlash(uint32_t byteAddress, uint8_t value)
{
    if (!present() || programmingLocked())
        return 0;
    uint8_t &cell = mem_.flash[byteAddress % mem_.flash.size()];
    const uint8_t before = cell;
    cell &= value; // programming can only clear bits; erasing sets them
    return cell != before ? unsigned(FlashPart) : 0u;
}

unsigned Chip::writeEeprom(uint32_t address, uint8_t value)
{
    if (!present() || programmingLocked())
        return 0;
    uint8_t &cell = mem_.eeprom[address % mem_.eeprom.size()];
    if (cell == value)
        return 0;
    cell = value; // EEPROM cells erase themselves before each write
    return EepromPart;
}

unsigned Chip::writeLowFuse(uint8_t value)
{
    if (!present() || programmingLocked() || mem_.lowFuse == value)
        return 0;
    mem_.lowFuse = value;
    return LowFusePart;
}

unsigned Chip::writeHighFuse(uint8_t value)
{
    if (!present() || programmingLocked())
        return 0;
    // SPIEN cannot be changed in serial programming mode.
    const uint8_t next = uint8_t((value & ~kHighFuseSpien) | (mem_.highFuse & kHighFuseSpien));
    if (next == mem_.highFuse)
        return 0;
    mem_.highFuse = next;
    return HighFusePart;
}

unsigned Chip::writeLock(uint8_t value)
{
    if (!present())
        return 0;
    // Lock bits only get programmed (1 -> 0); only a chip erase clears them.
    const uint8_t next = uint8_t(mem_.lock & (value | kLockUnusedBits));
    if (next == mem_.lock)
        return 0;
    mem_.lock = next;
    return LockPart;
}

unsigned Chip::chipErase()
{
    if (!present())
        return 0;
    const ChipMemories before = mem_;
    std::fill(mem_.flash.begin(), mem_.flash.end(), 0xFF);
    if (mem_.highFuse & kHighFuseEesave) // EESAVE unprogrammed: EEPROM goes too
        std::fill(mem_.eeprom.begin(), mem_.eeprom.end(), 0xFF);
    mem_.lock = 0xFF;
    clearPageBuffer();

    unsigned changed = 0;
    if (mem_.flash != before.flash)
        changed |= FlashPart;
    if (mem_.eeprom != before.eeprom)
        changed |= EepromPart;
    if (mem_.lock != before.lock)
        changed |= LockPart;
    return changed;
}
