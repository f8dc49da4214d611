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
        const CommandFragment write = transferFragment(flashMemory(), TransferDirection::Program, path)
                                    + verifyFragment(flashMemory(), TransferDirection::Program, path);
        QCOMPARE(write.text, R"( -U flash:w:"D:\img\a.bin":a  -U flash:v:"D:\img\a.bin":a )");
        QCOMPARE(write.arguments, (QStringList{"-U", R"(flash:w:D:\img\a.bin:a)", "-U", R"(flash:v:D:\img\a.bin:a)"}));
        const QString hex = QStringLiteral("/home/u/my \"img\"/a.HEX");
        const CommandFragment read = transferFragment(eepromMemory(), TransferDirection::Read, hex)
                                   + verifyFragment(eepromMemory(), TransferDirection::Read, hex);
        QCOMPARE(read.text, " -U eeprom:r:\"" + hex + "\":i  -U eeprom:v:\"" + hex + "\":i ");
        QCOMPARE(read.arguments, (QStringList{"-U", "eeprom:r:" + hex + ":i", "-U", "eeprom:v:" + hex + ":i"}));
    }

    void panelTexts()
    {
        QCOMPARE(imageFileFilter(), QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin"));
    }
};

QTEST_APPLESS_MAIN(TestImageTransfer)
#include "test_image_transfer.moc"
