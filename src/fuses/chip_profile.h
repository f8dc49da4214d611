#pragma once
// The two chips the program knows, each with the facts that differ between
// them: part id, signature, the captions of the two high-fuse bits that
// differ, factory bytes, whether the write serves it, how a failed check of
// its fuse read is reported and the size of its memories.

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

enum class ChipId { ATmega8, ATmega16 };

struct FactoryBytes {
    quint8 hfuse;
    quint8 lfuse;
    quint8 lock;
};

struct ChipProfile {
    ChipId id;
    QString listText;  // as the device list shows it
    QString part;      // avrdude part id
    QString signature; // expected signature text, "0x" and six lower-case hex digits
    QString highBit7;  // caption of hfuse bit 7
    QString highBit6;  // caption of hfuse bit 6
    FactoryBytes factory;
    bool writeSupported;            // the fuse write and the clock presets serve this chip
    bool secondCheckNamesSignature; // a failed check of the forced high-fuse run names the signature found
    int flashBytes;
    int eepromBytes;
};

const std::array<ChipProfile, 2> &chipProfiles();

// The chip whose list text equals text exactly (case counts), or nullptr.
const ChipProfile *chipForListText(const QString &listText);
// The chip with this avrdude part id exactly, or nullptr.
const ChipProfile *chipForPart(const QString &part);

// Every chip by signature and list text, for the hints to name a signature
// found (KnownChip: runner/failure_hints.h).
struct KnownChip;
QList<KnownChip> knownChips();
