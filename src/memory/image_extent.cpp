#include "image_extent.h"

#include "image_transfer.h"

#include <QFile>

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

using Fault = ImageReading::Fault;

namespace {

// avrdude reads text files with fgets() into a buffer of 256 bytes: a line
// longer than 255 bytes comes as several lines, and only LF ends a line.
constexpr qsizetype longestRead = 255;

struct ToolLine {
    qsizetype begin; // offset in the file
    QByteArray text; // as a C string: up to any NUL, the final LF taken off
};

std::vector<ToolLine> toolLines(const QByteArray &content)
{
    std::vector<ToolLine> lines;
    for (qsizetype at = 0; at < content.size();) {
        qsizetype end = qMin(at + longestRead, content.size());
        const qsizetype lf = content.indexOf('\n', at);
        if (lf != -1 && lf < end)
            end = lf + 1;
        QByteArray text = content.mid(at, end - at);
        if (const qsizetype nul = text.indexOf('\0'); nul != -1)
            text.truncate(nul);
        if (text.endsWith('\n'))
            text.chop(1);
        lines.push_back({at, text});
        at = end;
    }
    return lines;
}

bool isHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int nibble(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The line as the user's editor counts it at an offset: LF, CR LF and a lone CR each end one.
int editorLine(const QByteArray &content, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < content.size(); ++i) {
        if (content[i] == '\n' || (content[i] == '\r' && (i + 1 >= content.size() || content[i + 1] != '\n')))
            ++line;
    }
    return line;
}

struct HexRecord {
    int length = 0;
    qint64 offset = 0;
    int type = 0;
    QByteArray data;
    bool checksumRight = false;
};

// One record as avrdude's ihex_readrec() reads it: the fields from the ':'
// on; whatever follows the checksum is ignored.
std::optional<HexRecord> hexRecord(const QByteArray &text)
{
    qsizetype at = 1;
    const auto field = [&](int digits) -> std::optional<qint64> {
        if (at + digits > text.size())
            return std::nullopt;
        qint64 value = 0;
        for (int i = 0; i < digits; ++i) {
            const char c = text[at++];
            if (!isHexDigit(c))
                return std::nullopt;
            value = value << 4 | nibble(c);
        }
        return value;
    };
    HexRecord record;
    const auto length = field(2), offset = field(4), type = field(2);
    if (!length || !offset || !type)
        return std::nullopt;
    record.length = int(*length);
    record.offset = *offset;
    record.type = int(*type);
    quint8 sum = quint8(record.length + (record.offset >> 8) + record.offset + record.type);
    for (int i = 0; i < record.length; ++i) {
        const auto byte = field(2);
        if (!byte)
            return std::nullopt;
        record.data.append(char(*byte));
        sum = quint8(sum + *byte);
    }
    const auto checksum = field(2);
    if (!checksum)
        return std::nullopt;
    record.checksumRight = quint8(sum + *checksum) == 0;
    return record;
}

ImageReading faultAt(Fault fault, const QByteArray &content, qsizetype offset)
{
    ImageReading reading;
    reading.format = ImageFormat::IntelHex;
    reading.fault = fault;
    reading.line = editorLine(content, offset);
    return reading;
}

// A line of the file that begins, after blanks, with ':' but that avrdude
// never reads as a record, before `limit`: its data would be left out.
// readRecords: where avrdude's records begin, in ascending order.
std::optional<ImageReading> skippedRecord(const QByteArray &content, const std::vector<qsizetype> &readRecords,
                                          qsizetype limit)
{
    for (qsizetype start = 0; start < limit;) {
        qsizetype colon = start;
        while (colon < content.size() && (content[colon] == ' ' || content[colon] == '\t'))
            ++colon;
        if (colon < limit && colon < content.size() && content[colon] == ':'
            && !std::binary_search(readRecords.begin(), readRecords.end(), colon)) {
            const bool afterLoneCr = start > 0 && content[start - 1] == '\r';
            return faultAt(afterLoneCr ? Fault::LoneCarriageReturn : Fault::RecordSkipped, content, start);
        }
        const qsizetype cr = content.indexOf('\r', start), lf = content.indexOf('\n', start);
        if (cr == -1 && lf == -1)
            break;
        if (cr != -1 && (lf == -1 || cr < lf))
            start = cr + 1 < content.size() && content[cr + 1] == '\n' ? cr + 2 : cr + 1;
        else
            start = lf + 1;
    }
    return std::nullopt;
}

// avrdude's ihex2b(): every line from ':' is a record, the others are passed
// over; the end-of-file record ends the reading.
ImageReading readIntelHex(const QByteArray &content)
{
    std::vector<qsizetype> readRecords;
    qint64 base = 0;
    qint64 extent = 0;
    qint64 dataBytes = 0;
    std::optional<ImageReading> damage;
    qsizetype limit = content.size();
    bool ended = false;
    for (const ToolLine &line : toolLines(content)) {
        if (line.text.isEmpty() || line.text[0] != ':')
            continue;
        readRecords.push_back(line.begin);
        const std::optional<HexRecord> record = hexRecord(line.text);
        Fault fault = Fault::None;
        if (!record)
            fault = Fault::BadRecord;
        else if (!record->checksumRight)
            fault = Fault::BadChecksum;
        else if ((record->type == 2 || record->type == 4) && record->length < 2)
            fault = Fault::BadRecord; // avrdude would take a stale address
        else if (record->type > 5)
            fault = Fault::BadRecordType;
        if (fault != Fault::None) {
            damage = faultAt(fault, content, line.begin);
            limit = line.begin;
            break;
        }
        if (record->type == 1) {
            ended = true;
            limit = line.begin;
            break;
        }
        const qint64 word = record->length >= 2 ? quint8(record->data[0]) << 8 | quint8(record->data[1]) : 0;
        if (record->type == 0) {
            extent = qMax(extent, base + record->offset + record->length);
            dataBytes += record->length;
        } else if (record->type == 2) {
            base = word << 4;
        } else if (record->type == 4) {
            base = word << 16;
        }
    }
    if (const std::optional<ImageReading> skipped = skippedRecord(content, readRecords, limit))
        return *skipped;
    if (damage)
        return *damage;
    ImageReading reading;
    reading.format = ImageFormat::IntelHex;
    if (dataBytes == 0)
        reading.fault = Fault::NoData;
    else if (!ended)
        reading.fault = Fault::NoEndRecord;
    reading.extent = extent;
    return reading;
}

// Text saved as UTF-16 without a byte-order mark: every other byte is NUL.
bool looksLikeUtf16(const QByteArray &content)
{
    const QByteArray start = content.left(64);
    int nuls = 0;
    for (const char c : start)
        nuls += c == '\0';
    return start.size() >= 4 && nuls * 2 >= start.size() - 1;
}

Fault rawUnderHexName(const QByteArray &content)
{
    if (content.startsWith("\xef\xbb\xbf"))
        return Fault::ByteOrderMark;
    if (content.startsWith("\xff\xfe") || content.startsWith("\xfe\xff"))
        return Fault::Utf16;
    return Fault::NonAsciiText;
}

} // namespace

// avrdude's fileio_fmt_autodetect(), line by line: ELF by its first bytes,
// raw binary at the first byte above 127, Intel HEX at a line of 11 or more
// characters that starts with ':' and a hexadecimal digit (only that one
// digit is looked at), S-record at one of 10 or more from 'S' and a decimal
// digit. The first line that decides wins; lines after it are not read.
ImageFormat detectedFormat(const QByteArray &content)
{
    if (content.startsWith("\x7f"
                           "ELF"))
        return ImageFormat::Elf;
    for (const ToolLine &line : toolLines(content)) {
        const QByteArray &t = line.text;
        for (const char c : t) {
            if (quint8(c) > 127)
                return ImageFormat::RawBinary;
        }
        if (t.size() >= 11 && t[0] == ':' && isHexDigit(t[1]))
            return ImageFormat::IntelHex;
        if (t.size() >= 10 && t[0] == 'S' && std::isdigit(static_cast<unsigned char>(t[1])))
            return ImageFormat::MotorolaSRecord;
    }
    return ImageFormat::Unknown;
}

ImageReading readImage(const QByteArray &content, bool namedHex)
{
    ImageReading reading;
    reading.format = detectedFormat(content);
    switch (reading.format) {
    case ImageFormat::IntelHex:
        return readIntelHex(content);
    case ImageFormat::RawBinary:
        if (namedHex)
            reading.fault = rawUnderHexName(content);
        reading.extent = content.size();
        return reading;
    case ImageFormat::MotorolaSRecord:
    case ImageFormat::Elf:
        reading.fault = Fault::NotChecked;
        return reading;
    case ImageFormat::Unknown:
        break;
    }
    if (content.isEmpty())
        reading.fault = Fault::NoData;
    else if (namedHex && looksLikeUtf16(content))
        reading.fault = Fault::Utf16;
    else
        reading.fault = Fault::UnknownFormat;
    return reading;
}

ImageReading readImageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ImageReading reading;
        reading.fault = Fault::Unreadable;
        return reading;
    }
    return readImage(file.readAll(), namedAsIntelHex(path));
}
