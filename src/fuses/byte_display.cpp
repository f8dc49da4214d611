#include "byte_display.h"

QString byteDisplayText(quint8 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

std::array<QString, 4> calibrationTexts(const QByteArray &bytes)
{
    std::array<QString, 4> texts;
    for (int i = 0; i < 4 && i < bytes.size(); ++i)
        texts[static_cast<size_t>(i)] = byteDisplayText(static_cast<quint8>(bytes[i]));
    return texts;
}
