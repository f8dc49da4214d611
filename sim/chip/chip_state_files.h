#pragma once

#include <string>

class Chip;

// Keeps a chip's memories in a folder of raw files (flash.bin, eeprom.bin,
// lfuse, hfuse, lock, calibration) so tests can preset and check them.
class ChipStateFiles {
public:
    explicit ChipStateFiles(std::string folder);

    bool prepare(std::string *error);

    // Reads every file; a missing one is created with the factory content.
    // A short file is padded (0xFF for Flash/EEPROM, factory bytes else),
    // a long one cut to the memory's size.
    void load(Chip &chip);

    // Rewrites the files for the given ChipPart bits.
    bool save(const Chip &chip, unsigned parts, std::string *error = nullptr);

    static const char *fileName(unsigned part);

private:
    std::string pathOf(unsigned part) const;

    std::string folder_;
};
