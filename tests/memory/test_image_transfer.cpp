#include "memory/image_transfer.h"
#include "platform/platform.h"
#include "runner/command_grammar.h"

#include <QtTest>

namespace {
const QString q = QStringLiteral("\"");
} // namespace

class TestImageTransfer : public QObject {
    Q_OBJECT
private slots:
    void readFormatFollowsTheHexEnding_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QChar>("letter");
        QTest::newRow("hex") << "/tmp/a.hex" << QChar('i');
        QTest::newRow("upper case") << "image.HEX" << QChar('i');
        QTest::newRow("mixed case") << "D:\\img\\x.hEx" << QChar('i');
        QTest::newRow("bin") << "image.bin" << QChar('r');
        QTest::newRow("ihx") << "image.ihx" << QChar('r');
        QTest::newRow("eep") << "data.eep" << QChar('r');
        QTest::newRow("no extension") << "/home/u/image" << QChar('r');
        QTest::newRow("hex is the folder") << "/a.hex/image" << QChar('r');
        QTest::newRow("shorter than four") << "hex" << QChar('r');
        QTest::newRow("empty") << "" << QChar('r');
    }
    void readFormatFollowsTheHexEnding()
    {
        QFETCH(QString, path);
        QFETCH(QChar, letter);
        QCOMPARE(readFormatLetter(path), letter);
        QCOMPARE(transferFormatLetter(TransferDirection::Read, path), letter);
        QCOMPARE(transferFormatLetter(TransferDirection::Program, path), QChar('a'));
    }

    void windowsProgramWithVerify()
    {
        const QString path = QStringLiteral("D:\\img\\a.bin");
        const CommandFragment op = transferFragment(flashMemory(), TransferDirection::Program, path);
        const CommandFragment vf = verifyFragment(flashMemory(), TransferDirection::Program, path);
        QCOMPARE(op.text + vf.text, " -U flash:w:" + q + path + q + ":a  -U flash:v:" + q + path + q + ":a ");
        QCOMPARE(op.arguments + vf.arguments,
                 (QStringList{"-U", "flash:w:D:\\img\\a.bin:a", "-U", "flash:v:D:\\img\\a.bin:a"}));
    }

    void readsVerifyInTheReadFormat_data()
    {
        QTest::addColumn<bool>("flash");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("line");
        QTest::newRow("flash hex") << true << "/home/u/my img/a.HEX"
                                   << " -U flash:r:\"/home/u/my img/a.HEX\":i  -U flash:v:\"/home/u/my img/a.HEX\":i ";
        QTest::newRow("eeprom eep") << false << "/d/data.eep"
                                    << " -U eeprom:r:\"/d/data.eep\":r  -U eeprom:v:\"/d/data.eep\":r ";
        QTest::newRow("eeprom windows bin") << false << "D:\\img\\a.bin"
                                            << " -U eeprom:r:\"D:\\img\\a.bin\":r  -U eeprom:v:\"D:\\img\\a.bin\":r ";
    }
    void readsVerifyInTheReadFormat()
    {
        QFETCH(bool, flash);
        QFETCH(QString, path);
        QFETCH(QString, line);
        const MemoryKind kind = flash ? flashMemory() : eepromMemory();
        const CommandFragment op = transferFragment(kind, TransferDirection::Read, path);
        const CommandFragment vf = verifyFragment(kind, TransferDirection::Read, path);
        QCOMPARE(op.text + vf.text, line);
        QCOMPARE(op.arguments.size() + vf.arguments.size(), 4);
        QCOMPARE(op.arguments[1], kind.memory + ":r:" + path + ":" + readFormatLetter(path));
    }

    void eepromProgramOnPosixAppendsToThePrefix()
    {
        const QString path = QStringLiteral("/tmp/a \"b\" 图像.hex");
        const ToolCommand c = grammar::commandPrefix(platform::posixRendering(), QStringLiteral("/opt/fw"),
                                                     {QStringLiteral("m8"), QStringLiteral("avr910"),
                                                      QStringLiteral("com1")})
                            + transferFragment(eepromMemory(), TransferDirection::Program, path)
                            + verifyFragment(eepromMemory(), TransferDirection::Program, path);
        QCOMPARE(c.text, "/opt/fw/tools/avrdude -p m8 -C /opt/fw/tools/avrdude.conf -c avr910 -P /dev/ttyS0"
                         " -U eeprom:w:\"" + path + "\":a  -U eeprom:v:\"" + path + "\":a ");
        QCOMPARE(c.arguments.mid(8), (QStringList{"-U", "eeprom:w:" + path + ":a", "-U", "eeprom:v:" + path + ":a"}));
    }

    void panelTexts()
    {
        QCOMPARE(overwriteQuestion(QStringLiteral("D:\\img\\a.bin")), QStringLiteral("保存在文件D:\\img\\a.bin?"));
        QCOMPARE(overwriteQuestion(QStringLiteral("/tmp/x.hex")), QStringLiteral("保存在文件/tmp/x.hex?"));
        QCOMPARE(overwriteQuestionTitle(), QStringLiteral("是否覆盖文件"));
        QCOMPARE(flashMemory().missingFileText, QStringLiteral("请选择FLASH文件"));
        QCOMPARE(eepromMemory().missingFileText, QStringLiteral("请选择EEPROM文件"));
        QCOMPARE(imageFileFilter(), QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin"));
    }
};

QTEST_APPLESS_MAIN(TestImageTransfer)
#include "test_image_transfer.moc"
