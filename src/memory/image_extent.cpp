#include "image_extent.h"

#include <QFile>

#include <cctype>

namespace {
// One record line, ':' taken off: its bytes when every digit pair is
// hexadecimal, the length byte matches and the checksum adds up to zero.
std::optional<QByteArray> recordBytes(const QByteArray &digits)
{
    if (digits.size() < 10 || digits.size() % 2 != 0)
        return std::nullopt;
    for (const char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    const QByteArray bytes = QByteArray::fromHex(digits);
    quint8 sum = 0;
    for (const char b : bytes)
        sum = quint8(sum + quint8(b));
    if (sum != 0 || quint8(bytes.at(0)) + 5 != bytes.size())
        return std::nullopt;
    return bytes;
}

std::optional<qint64> intelHexExtent(const QByteArray &content)
{
    qint64 base = 0;
    qint64 extent = 0;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        // The tool passes over lines that are not records.
        if (!line.startsWith(':'))
            continue;
        const std::optional<QByteArray> record = recordBytes(line.mid(1));
        if (!record)
            return std::nullopt;
        const auto byte = [&](int i) { return qint64(quint8(record->at(i))); };
        const qint64 length = byte(0);
        const qint64 type = byte(3);
        if ((type == 0x02 || type == 0x04) && length != 2)
            return std::nullopt;
        const qint64 word = length == 2 ? byte(4) << 8 | byte(5) : 0;
        switch (type) {
        case 0x00:
            if (length > 0)
                extent = qMax(extent, base + (byte(1) << 8 | byte(2)) + length);
            break;
        case 0x01:
            return extent;
        case 0x02:
            base = word << 4;
            break;
        case 0x04:
            base = word << 16;
            break;
        case 0x03:
        case 0x05:
            break;
        default:
            return std::nullopt;
        }
    }
    return extent;
}
} // namespace

std::optional<qint64> imageExtent(const QByteArray &content)
{
    const QByteArray start = content.trimmed().left(4);
    if (start.startsWith(':'))
        return intelHexExtent(content);
    if (start.startsWith("\x7f"
                         "ELF"))
        return std::nullopt;
    // Raw binary, as the tool tells it from text: a byte outside ASCII.
    for (const char c : content) {
        if (quint8(c) >= 0x80)
            return content.size();
    }
    return std::nullopt;
}

std::optional<qint64> imageFileExtent(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return imageExtent(file.readAll());
}
