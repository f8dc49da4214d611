#pragma once

#include <QByteArray>
#include <QString>

// Data records (16 bytes each) from address 0 and an end-of-file record.
QByteArray toIntelHex(const QByteArray &data);

// Reads data records (type 00) into an image starting at address 0, gaps
// filled with 0xFF. Returns false on a malformed line or checksum.
bool fromIntelHex(const QByteArray &text, QByteArray &image);
