#pragma once
// An image file read before the tool may erase anything, the way avrdude's
// auto-detection (":a") and its Intel HEX reader will read it: what avrdude
// takes the file for, how many bytes of a memory it reaches, and what would
// make avrdude fail, misread it or write less than the file holds. avrdude
// 6.3 and 7.1 (the program's own) read files alike. 8.x reads long lines
// whole, trims blanks at a line's end and checks a record line more closely
// before it decides for Intel HEX: a file accepted here reads the same there,
// unless a line of bare numbers comes before its first record.

#include <QByteArray>
#include <QString>

enum class ImageFormat { IntelHex, MotorolaSRecord, Elf, RawBinary, Unknown };

struct ImageReading {
    enum class Fault {
        None,
        Unreadable,         // the file cannot be opened; avrdude says so before it touches the chip
        NoData,             // nothing to write: an empty file, or a HEX file without data
        BadChecksum,        // at line
        BadRecord,          // at line: too short for its length byte, or not hexadecimal
        BadRecordType,      // at line
        RecordSkipped,      // at line: a record avrdude passes over, for it does not start the line
        LoneCarriageReturn, // at line: a record after a lone CR, which avrdude does not take for a line end
        NoEndRecord,        // the HEX file may have been cut short
        ByteOrderMark,      // a ".hex" file avrdude takes as raw binary, for the reason named
        Utf16,
        NonAsciiText,
        UnknownFormat, // avrdude cannot tell the format
        NotChecked,    // S-record or ELF: avrdude reads it, the program does not
    };
    ImageFormat format = ImageFormat::Unknown;
    Fault fault = Fault::None;
    qint64 extent = 0; // one past the highest address written; only without a fault
    int line = 0;      // 1-based, counting LF, CR LF and lone CR line ends

    bool usable() const { return fault == Fault::None; }
};

// The format avrdude's auto-detection gives the content.
ImageFormat detectedFormat(const QByteArray &content);

// content as avrdude reads it; namedHex: the file's name ends in ".hex",
// which makes a raw-binary reading a fault (the user meant a HEX file).
ImageReading readImage(const QByteArray &content, bool namedHex);

// readImage of the file at path; Fault::Unreadable when it cannot be read.
ImageReading readImageFile(const QString &path);
