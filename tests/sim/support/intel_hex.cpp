#include "intel_hex.h"

#include <QList>

QByteArray toIntelHex(const QByteArray &data)
{
    QByteArray out;
    for (int offset = 0; offset < data.size(); offset += 16) {
        const QByteArray chunk = data.mid(offset, 16);
        QByteArray record;
        record.append(char(chunk.size()));
        record.append(char((offset >> 8) & 0xFF));
        record.append(char(offset & 0xFF));
        record.append(char(0x00));
        record.append(chunk);
        quint8 sum = 0;
        for (char c : record)
            sum = quint8(sum + quint8(c));
        record.append(char(quint8(-sum)));
        out += ":" + record.toHex().toUpper() + "\n";
    }
    out += ":00000001FF\n";
    return out;
}

bool fromIntelHex(const QByteArray &text, QByteArray &image)
{
    image.clear();
    quint32 base = 0;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (!line.startsWith(':'))
            return false;
        const QByteArray record = QByteArray::fromHex(line.mid(1));
        if (record.size() < 5 || record.size() != 5 + quint8(record[0]))
            return false;
        quint8 sum = 0;
        for (char c : record)
            sum = quint8(sum + quint8(c));
        if (sum != 0)
            return false;
        const int length = quint8(record[0]);
        const quint32 address = quint32(quint8(record[1])) << 8 | quint8(record[2]);
        const int type = quint8(record[3]);
        if (type == 0x00) {
            const quint32 at = base + address;
            if (quint32(image.size()) < at + length)
                image.append(QByteArray(int(at + length) - image.size(), char(0xFF)));
            image.replace(int(at), length, record.mid(4, length));
        } else if (type == 0x01) {
            break;
        } else if (type == 0x02) {
            base = (quint32(quint8(record[4])) << 8 | quint8(record[5])) << 4;
        } else if (type == 0x04) {
            base = (quint32(quint8(record[4])) << 8 | quint8(record[5])) << 16;
        }
    }
    return true;
}
