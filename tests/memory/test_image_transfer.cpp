#include "memory/image_extent.h"
#include "memory/image_transfer.h"

#include <QtTest>

using Fault = ImageReading::Fault;

namespace {
// ASCII text as Windows saves it in "Unicode": UTF-16 little-endian, with or without its mark.
QByteArray utf16(const QByteArray &ascii, bool mark)
{
    const QString text = QString::fromLatin1(ascii);
    return (mark ? "\xff\xfe" : "") + QByteArray(reinterpret_cast<const char *>(text.utf16()), 2 * text.size());
}
} // namespace

class TestImageTransfer : public QObject {
    Q_OBJECT
private slots:
    void formatLetters()
    {
        // A read names Intel HEX only for a name ending in ".hex", in any case.
        const QStringList hex{"image.HEX", "/tmp/a.hex", "D:\\img\\x.hEx", ".hex"};
        const QStringList raw{"image.bin", "image.ihx", "data.eep", "/home/u/image", "/a.hex/image", "hex", ""};
        for (const QString &path : hex + raw) {
            QCOMPARE(transferFormatLetter(TransferDirection::Read, path), hex.contains(path) ? 'i' : 'r');
            QCOMPARE(transferFormatLetter(TransferDirection::Program, path), 'a');
        }
    }

    // The verify fragment reads the file in the format the transfer used.
    void programAndReadWithVerify()
    {
        const QString path = QStringLiteral("D:\\img\\a.bin");
        const CommandFragment write = transferFragment(MemoryKind::Flash, TransferDirection::Program, path)
                                      + verifyFragment(MemoryKind::Flash, TransferDirection::Program, path);
        QCOMPARE(write.text, R"( -U flash:w:"D:\img\a.bin":a  -U flash:v:"D:\img\a.bin":a )");
        QCOMPARE(write.arguments, (QStringList{"-U", R"(flash:w:D:\img\a.bin:a)", "-U", R"(flash:v:D:\img\a.bin:a)"}));
        const QString hex = QStringLiteral("/home/u/my \"img\"/a.HEX");
        const CommandFragment read = transferFragment(MemoryKind::Eeprom, TransferDirection::Read, hex)
                                     + verifyFragment(MemoryKind::Eeprom, TransferDirection::Read, hex);
        QCOMPARE(read.text, " -U eeprom:r:\"" + hex + "\":i  -U eeprom:v:\"" + hex + "\":i ");
        QCOMPARE(read.arguments, (QStringList{"-U", "eeprom:r:" + hex + ":i", "-U", "eeprom:v:" + hex + ":i"}));
    }

    // What avrdude 6.3 and 7.1 make of a file under ":a" (fileio.c: the
    // auto-detection, then ihex2b), and how far it reaches. The end-to-end
    // table runs the commonest of these through avrdude itself.
    void imageReadings_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("namedHex");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("fault");
        QTest::addColumn<qint64>("extent"); // without a fault
        QTest::addColumn<int>("line");
        const int hex = int(ImageFormat::IntelHex), raw = int(ImageFormat::RawBinary),
                  unknown = int(ImageFormat::Unknown), srec = int(ImageFormat::MotorolaSRecord),
                  elf = int(ImageFormat::Elf);
        using F = Fault;
        const QByteArray rec = ":0400000001020304F2", eof = ":00000001FF\n";
        const auto row = [](const char *name, const QByteArray &content, bool namedHex, int format, F fault,
                            qint64 extent, int line = 0) {
            QTest::newRow(name) << content << namedHex << format << int(fault) << extent << line;
        };
        row("one record", rec + "\n" + eof, true, hex, F::None, 4);
        row("highest record not last, CR LF", ":02201000AABB69\r\n" + rec + "\r\n" + eof, true, hex, F::None, 0x2012);
        row("ATmega16 firmware end", ":103FF000000102030405060708090A0B0C0D0E0F49\n" + eof, true, hex, F::None, 16384);
        row("extended segment address", ":020000020100FB\n" + rec + "\n" + eof, true, hex, F::None, 0x1004);
        row("extended linear address", ":020000040001F9\n" + rec + "\n" + eof, true, hex, F::None, 0x10004);
        row("nothing after the end record", rec + "\n" + eof + ":02201000AABB69\n", true, hex, F::None, 4);
        row("non-ASCII after the deciding line", rec + "\n; \xe4\xbd\x9c\xe8\x80\x85\n" + eof, true, hex, F::None, 4);
        row("non-ASCII before it, .hex", "; \xe4\xbd\x9c\n" + rec + "\n" + eof, true, raw, F::NonAsciiText, 0);
        row("non-ASCII before it, other name", "; \xe4\xbd\x9c\n" + rec + "\n" + eof, false, raw, F::None, 38);
        row("UTF-16 with its mark", utf16(rec + "\r\n" + eof, true), true, raw, F::Utf16, 0);
        row("UTF-16 without a mark", utf16(rec + "\r\n" + eof, false), true, unknown, F::Utf16, 0);
        row("checksum wrong on line 2", "; x\n:0400000001020304F3\n" + eof, true, hex, F::BadChecksum, 0, 2);
        row("length byte too large", ":0500000001020304F1\n" + eof, true, hex, F::BadRecord, 0, 1);
        row("not hexadecimal", ":04000000010203G4F2\n" + eof, true, hex, F::BadRecord, 0, 1);
        row("longer than the tool's line", ":80000000" + QByteArray(256, '0') + "80\n" + eof, true, hex, F::BadRecord,
            0, 1);
        row("unknown record type", ":0000000AF6\n" + eof, true, hex, F::BadRecordType, 0, 1);
        row("address record without its word", ":00000004FC\n" + eof, true, hex, F::BadRecord, 0, 1);
        row("indented record", "\n  " + rec + "\n" + eof, true, hex, F::RecordSkipped, 0, 2);
        row("empty data record", ":00400000C0\n" + eof, true, hex, F::NoData, 0);
        row("no end record", rec + "\n", true, hex, F::NoEndRecord, 0);
        row("raw binary", QByteArray(512, char(0xFF)), false, raw, F::None, 512);
        row("raw binary, first byte ASCII", QByteArray("\x0c\x94\x2a\x00", 4), false, raw, F::None, 4);
        row("plain text", "hello world\n", true, unknown, F::UnknownFormat, 0);
        row("colon and a letter", ":G0000000000000\n", false, unknown, F::UnknownFormat, 0);
        row("S-record", "S00600004844521B\n", false, srec, F::NotChecked, 0);
        row("ELF",
            QByteArray("\x7f"
                       "ELF\x01\x01\x01\xff",
                       8),
            false, elf, F::NotChecked, 0);
        row("empty", QByteArray(), true, unknown, F::NoData, 0);
    }
    void imageReadings()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, namedHex);
        QFETCH(int, format);
        QFETCH(int, fault);
        QFETCH(qint64, extent);
        QFETCH(int, line);
        const ImageReading reading = readImage(content, namedHex);
        QCOMPARE(int(reading.format), format);
        QCOMPARE(int(reading.fault), fault);
        QCOMPARE(reading.line, line);
        if (reading.usable())
            QCOMPARE(reading.extent, extent);
    }

    void panelTexts()
    {
        QCOMPARE(imageFileFilter(), QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin"));
    }
};

QTEST_APPLESS_MAIN(TestImageTransfer)
#include "test_image_transfer.moc"
