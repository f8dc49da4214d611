#include "image_transfer.h"

#include "runner/command_grammar.h"

QString memoryName(MemoryKind kind)
{
    return kind == MemoryKind::Flash ? QStringLiteral("flash") : QStringLiteral("eeprom");
}

QString imageFileFilter()
{
    return QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin");
}

bool namedAsIntelHex(const QString &imagePath)
{
    return imagePath.endsWith(QStringLiteral(".hex"), Qt::CaseInsensitive);
}

QChar transferFormatLetter(TransferDirection direction, const QString &imagePath)
{
    if (direction == TransferDirection::Program)
        return QLatin1Char('a');
    return namedAsIntelHex(imagePath) ? QLatin1Char('i') : QLatin1Char('r');
}

CommandFragment transferFragment(MemoryKind kind, TransferDirection direction, const QString &imagePath)
{
    const QChar operation = direction == TransferDirection::Program ? QLatin1Char('w') : QLatin1Char('r');
    return grammar::memoryFragment(memoryName(kind), operation, imagePath, transferFormatLetter(direction, imagePath),
                                   true);
}

CommandFragment verifyFragment(MemoryKind kind, TransferDirection direction, const QString &imagePath)
{
    return grammar::memoryFragment(memoryName(kind), QLatin1Char('v'), imagePath,
                                   transferFormatLetter(direction, imagePath), true);
}
