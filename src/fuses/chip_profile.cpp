#include "chip_profile.h"

#include "runner/failure_hints.h"

const std::array<ChipProfile, 2> &chipProfiles()
{
    static const std::array<ChipProfile, 2> chips{{
        {ChipId::ATmega8,
         QStringLiteral("ATmega8"),
         QStringLiteral("m8"),
         QStringLiteral("0x1e9307"),
         QStringLiteral("RSTDIS"),
         QStringLiteral("WDTON"),
         {0xD9, 0xE1, 0xFF},
         true,
         true,
         8192,
         512},
        {ChipId::ATmega16,
         QStringLiteral("ATmega16"),
         QStringLiteral("m16"),
         QStringLiteral("0x1e9403"),
         QStringLiteral("OCDEN"),
         QStringLiteral("JTAGEN"),
         {0x99, 0xE1, 0xFF},
         false,
         false,
         16384,
         512},
    }};
    return chips;
}

const ChipProfile *chipForListText(const QString &listText)
{
    for (const ChipProfile &chip : chipProfiles()) {
        if (chip.listText == listText)
            return &chip;
    }
    return nullptr;
}

const ChipProfile *chipForPart(const QString &part)
{
    for (const ChipProfile &chip : chipProfiles()) {
        if (chip.part == part)
            return &chip;
    }
    return nullptr;
}

QList<KnownChip> knownChips()
{
    QList<KnownChip> chips;
    for (const ChipProfile &chip : chipProfiles())
        chips.append({chip.signature, chip.listText});
    return chips;
}
