#include "memory/image_extent.h"
#include "memory/image_transfer.h"

#include <QtTest>

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

    // How far an image reaches, as the tool will read it; -1: left to the tool.
    void imageExtents_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("extent");
        const QByteArray eof = ":00000001FF\n";
        QTest::newRow("one record") << QByteArray(":0400000001020304F2\n") + eof << qint64(4);
        QTest::newRow("highest record not last, CR LF")
            << QByteArray(":02201000AABB69\r\n:0400000001020304F2\r\n") + eof << qint64(0x2012);
        QTest::newRow("ATmega16 firmware end")
            << QByteArray(":103FF000000102030405060708090A0B0C0D0E0F49\n") + eof << qint64(16384);
        QTest::newRow("extended segment address")
            << QByteArray(":020000020100FB\n:0400000001020304F2\n") + eof << qint64(0x1004);
        QTest::newRow("extended linear address")
            << QByteArray(":020000040001F9\n:0400000001020304F2\n") + eof << qint64(0x10004);
        QTest::newRow("nothing after the end record") << QByteArray(":0400000001020304F2\n") + eof + ":02201000AABB69\n"
                                                      << qint64(4);
        QTest::newRow("empty data record, start address")
            << QByteArray(":00400000C0\n:0400000300001000E9\n") + eof << qint64(0);
        QTest::newRow("leading blank line") << QByteArray("\n  :0400000001020304F2\n") + eof << qint64(4);
        QTest::newRow("bad checksum") << QByteArray(":0400000001020304F3\n") + eof << qint64(-1);
        QTest::newRow("length does not match") << QByteArray(":0500000001020304F1\n") + eof << qint64(-1);
        QTest::newRow("not hexadecimal") << QByteArray(":04000000010203G4F2\n") + eof << qint64(-1);
        QTest::newRow("unknown record type") << QByteArray(":0000000AF6\n") + eof << qint64(-1);
        QTest::newRow("raw binary") << QByteArray(512, char(0xFF)) << qint64(512);
        QTest::newRow("raw binary, first byte ASCII") << QByteArray("\x0c\x94\x2a\x00", 4) << qint64(4);
        QTest::newRow("plain text") << QByteArray("hello\n") << qint64(-1);
        QTest::newRow("S-record") << QByteArray("S00600004844521B\n") << qint64(-1);
        QTest::newRow("ELF") << QByteArray("\x7f"
                                           "ELF\x01\x01\x01\xff",
                                           8)
                             << qint64(-1);
        QTest::newRow("empty") << QByteArray() << qint64(-1);
    }
    void imageExtents()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, extent);
        QCOMPARE(imageExtent(content).value_or(-1), extent);
    }

    void panelTexts()
    {
        QCOMPARE(imageFileFilter(), QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin"));
    }
};

QTEST_APPLESS_MAIN(TestImageTransfer)
#include "test_image_transfer.moc"
