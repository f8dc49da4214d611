#pragma once

#include <QByteArray>
#include <QString>

QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);

// Deterministic bytes without 0xFF runs, so avrdude's trailing-0xFF trimming
// cannot hide a short write.
QByteArray patternBytes(int size, quint32 seed);

// bytes padded with 0xFF up to size, as avrdude trims read-back images.
QByteArray padded(const QByteArray &bytes, int size);
