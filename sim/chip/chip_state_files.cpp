#include "chip_state_files.h"

#include "atomic_file.h"
#include "chip.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr unsigned kParts[] = {FlashPart, EepromPart, LowFusePart, HighFusePart, LockPart, CalibrationPart};

std::vector<uint8_t> bytesOf(const ChipMemories &m, unsigned part)
{
    switch (part) {
    case FlashPart:
        return m.flash;
    case EepromPart:
        return m.eeprom;
    case LowFusePart:
        return {m.lowFuse};
    case HighFusePart:
        return {m.highFuse};
    case LockPart:
        return {m.lock};
    case CalibrationPart:
        return {m.calibration.begin(), m.calibration.end()};
    }
    return {};
}

void assign(ChipMemories &m, unsigned part, const std::vector<uint8_t> &bytes)
{
    switch (part) {
    case FlashPart:
        m.flash = bytes;
        break;
    case EepromPart:
        m.eeprom = bytes;
        break;
    case LowFusePart:
        m.lowFuse = bytes[0];
        break;
    case HighFusePart:
        m.highFuse = bytes[0];
        break;
    case LockPart:
        m.lock = bytes[0];
        break;
    case CalibrationPart:
        std::copy(bytes.begin(), bytes.end(), m.calibration.begin());
        break;
    }
}

} // namespace

ChipStateFiles::ChipStateFiles(std::string folder) : folder_(std::move(folder)) {}

bool ChipStateFiles::prepare(std::string *error)
{
    return makeFolders(folder_, error);
}

const char *ChipStateFiles::fileName(unsigned part)
{
    switch (part) {
    case FlashPart:
        return "flash.bin";
    case EepromPart:
        return "eeprom.bin";
    case LowFusePart:
        return "lfuse";
    case HighFusePart:
        return "hfuse";
    case LockPart:
        return "lock";
    case CalibrationPart:
        return "calibration";
    }
    return "";
}

std::string ChipStateFiles::pathOf(unsigned part) const
{
    return folder_ + "/" + fileName(part);
}

void ChipStateFiles::load(Chip &chip)
{
    if (!chip.present())
        return;
    makeFolders(folder_); // in case someone removed it while we run
    const ChipMemories factory = ChipMemories::factory(*chip.model());
    ChipMemories &m = chip.memories();
    unsigned missing = 0;
    for (unsigned part : kParts) {
        std::vector<uint8_t> bytes;
        const std::vector<uint8_t> defaults = bytesOf(factory, part);
        if (!readWholeFile(pathOf(part), bytes)) {
            missing |= part;
            bytes = defaults;
        }
        if (bytes.size() < defaults.size())
            bytes.insert(bytes.end(), defaults.begin() + bytes.size(), defaults.end());
        bytes.resize(defaults.size());
        assign(m, part, bytes);
    }
    if (missing)
        save(chip, missing);
}

bool ChipStateFiles::save(const Chip &chip, unsigned parts, std::string *error)
{
    if (!chip.present())
        return true;
    bool ok = true;
    for (unsigned part : kParts) {
        if (!(parts & part))
            continue;
        const std::vector<uint8_t> bytes = bytesOf(chip.memories(), part);
        std::string why;
        if (!writeFileAtomically(pathOf(part), bytes.data(), bytes.size(), &why)) {
            std::fprintf(stderr, "fusewright-sim: cannot save %s\n", why.c_str());
            if (error)
                *error = why;
            ok = false;
        }
    }
    return ok;
}
