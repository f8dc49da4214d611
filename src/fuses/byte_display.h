#pragma once
// How byte values are shown: "0x" and upper-case hexadecimal digits without
// leading zeros (0x0, 0xA, 0xA5).

#include <QByteArray>
#include <QString>

#include <array>

QString byteDisplayText(quint8 value);

// The four calibration boxes (1, 2, 4, 8 MHz) for the bytes the tool
// delivered; a box whose byte is missing stays empty.
std::array<QString, 4> calibrationTexts(const QByteArray &bytes);
