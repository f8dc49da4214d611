#include "byte_files.h"

#include <QFile>

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray patternBytes(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    quint32 x = seed * 2654435761u + 12345u;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        quint8 b = quint8(x >> 16);
        if (b == 0xFF)
            b = 0x5A;
        bytes[i] = char(b);
    }
    return bytes;
}

QByteArray padded(const QByteArray &bytes, int size)
{
    QByteArray out = bytes;
    if (out.size() < size)
        out.append(QByteArray(size - out.size(), char(0xFF)));
    return out;
}
