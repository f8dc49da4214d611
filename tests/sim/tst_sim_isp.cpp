// Serial programming instructions, with the bit patterns avrdude.conf gives
// for ATmega8 and ATmega16 (x bits sent as 0, as avrdude does).
#include "chip.h"
#include "isp_instruction.h"

#include <QtTest>

namespace {

uint8_t run(Chip &chip, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, unsigned *changed = nullptr)
{
    const IspOutcome outcome = executeIspInstruction(chip, {b0, b1, b2, b3});
    if (changed)
        *changed = outcome.changed;
    return outcome.output;
}

} // namespace

class SimIspTest : public QObject {
    Q_OBJECT

private slots:
    void readsFusesLockSignatureCalibration_data();
    void readsFusesLockSignatureCalibration();
    void writesFusesAndLock();
    void lockWriteKeepsTheFixedOnes();
    void flashThroughPageBuffer();
    void eepromByteWriteAndRead();
    void chipEraseInstruction();
    void harmlessInstructionsAnswerZero();
    void emptySocketAnswersZeroToEverything();
};

void SimIspTest::readsFusesLockSignatureCalibration_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QByteArray>("instruction");
    QTest::addColumn<int>("expected");
    auto row = [](const char *name, const char *part, QByteArray insn, int expected) {
        QTest::newRow(name) << QString(part) << insn << expected;
    };
    row("m8 lfuse", "m8", QByteArray::fromHex("50000000"), 0xE1);
    row("m8 hfuse", "m8", QByteArray::fromHex("58080000"), 0xD9);
    row("m8 lock", "m8", QByteArray::fromHex("58000000"), 0xFF);
    row("m8 signature 0", "m8", QByteArray::fromHex("30000000"), 0x1E);
    row("m8 signature 1", "m8", QByteArray::fromHex("30000100"), 0x93);
    row("m8 signature 2", "m8", QByteArray::fromHex("30000200"), 0x07);
    row("m8 calibration 0", "m8", QByteArray::fromHex("38000000"), 0xA5);
    row("m8 calibration 1", "m8", QByteArray::fromHex("38000100"), 0x9F);
    row("m8 calibration 2", "m8", QByteArray::fromHex("38000200"), 0x9D);
    row("m8 calibration 3", "m8", QByteArray::fromHex("38000300"), 0xA0);
    row("m16 hfuse", "m16", QByteArray::fromHex("58080000"), 0x99);
    row("m16 signature 1", "m16", QByteArray::fromHex("30000100"), 0x94);
    row("m16 signature 2", "m16", QByteArray::fromHex("30000200"), 0x03);
}

void SimIspTest::readsFusesLockSignatureCalibration()
{
    QFETCH(QString, part);
    QFETCH(QByteArray, instruction);
    QFETCH(int, expected);
    Chip chip(findChipModel(part.toStdString()));
    const auto b = reinterpret_cast<const uint8_t *>(instruction.constData());
    unsigned changed = 1;
    QCOMPARE(int(run(chip, b[0], b[1], b[2], b[3], &changed)), expected);
    QCOMPARE(changed, 0u);
}

void SimIspTest::writesFusesAndLock()
{
    Chip chip(&atmega8Model());
    unsigned changed = 0;
    run(chip, 0xAC, 0xA0, 0x00, 0x3F, &changed);
    QCOMPARE(changed, unsigned(LowFusePart));
    QCOMPARE(int(run(chip, 0x50, 0x00, 0x00, 0x00)), 0x3F);

    run(chip, 0xAC, 0xA8, 0x00, 0xC1, &changed);
    QCOMPARE(changed, unsigned(HighFusePart));
    QCOMPARE(int(run(chip, 0x58, 0x08, 0x00, 0x00)), 0xC1);

    run(chip, 0xAC, 0xE0, 0x00, 0xFE, &changed);
    QCOMPARE(changed, unsigned(LockPart));
    QCOMPARE(int(run(chip, 0x58, 0x00, 0x00, 0x00)), 0xFE);
}

void SimIspTest::lockWriteKeepsTheFixedOnes()
{
    // "1010.1100--111x.xxxx--xxxx.xxxx--11ii.iiii": bits 7..6 of the data
    // byte are sent as 1; the chip reads them as 1 whatever.
    Chip chip(&atmega16Model());
    run(chip, 0xAC, 0xE0, 0x00, 0xC0 | 0x3C);
    QCOMPARE(int(run(chip, 0x58, 0x00, 0x00, 0x00)), 0xFC);
}

void SimIspTest::flashThroughPageBuffer()
{
    Chip chip(&atmega16Model()); // 128-byte pages = 64 words
    // Load words 0x40 and 0x41 (second page), low byte first, then write it.
    run(chip, 0x40, 0x00, 0x00, 0x11);
    run(chip, 0x48, 0x00, 0x00, 0x22);
    run(chip, 0x40, 0x00, 0x01, 0x33);
    run(chip, 0x48, 0x00, 0x01, 0x44);
    unsigned changed = 0;
    run(chip, 0x4C, 0x00, 0x40, 0x00, &changed);
    QCOMPARE(changed, unsigned(FlashPart));

    QCOMPARE(int(run(chip, 0x20, 0x00, 0x40, 0x00)), 0x11);
    QCOMPARE(int(run(chip, 0x28, 0x00, 0x40, 0x00)), 0x22);
    QCOMPARE(int(run(chip, 0x20, 0x00, 0x41, 0x00)), 0x33);
    QCOMPARE(int(run(chip, 0x28, 0x00, 0x41, 0x00)), 0x44);
    QCOMPARE(int(run(chip, 0x20, 0x00, 0x00, 0x00)), 0xFF);
    QCOMPARE(chip.memories().flash[0x80], quint8(0x11));
    QCOMPARE(chip.memories().flash[0x83], quint8(0x44));
}

void SimIspTest::eepromByteWriteAndRead()
{
    Chip chip(&atmega8Model());
    unsigned changed = 0;
    run(chip, 0xC0, 0x01, 0xFF, 0x5A, &changed); // address 0x1FF, the last byte
    QCOMPARE(changed, unsigned(EepromPart));
    QCOMPARE(int(run(chip, 0xA0, 0x01, 0xFF, 0x00)), 0x5A);
    QCOMPARE(chip.memories().eeprom[0x1FF], quint8(0x5A));
    run(chip, 0xC0, 0x01, 0xFF, 0xA5); // EEPROM bits go both ways
    QCOMPARE(int(run(chip, 0xA0, 0x01, 0xFF, 0x00)), 0xA5);
}

void SimIspTest::chipEraseInstruction()
{
    Chip chip(&atmega8Model());
    chip.programFlash(0, 0x00);
    chip.writeEeprom(0, 0x00);
    unsigned changed = 0;
    run(chip, 0xAC, 0x80, 0x00, 0x00, &changed);
    QCOMPARE(changed, unsigned(FlashPart | EepromPart));
    QCOMPARE(int(chip.readFlash(0)), 0xFF);
    QCOMPARE(int(chip.readEeprom(0)), 0xFF);
}

void SimIspTest::harmlessInstructionsAnswerZero()
{
    Chip chip(&atmega8Model());
    const ChipMemories before = chip.memories();
    unsigned changed = 1;
    QCOMPARE(int(run(chip, 0xAC, 0x53, 0x00, 0x00, &changed)), 0x00); // programming enable
    QCOMPARE(changed, 0u);
    QCOMPARE(int(run(chip, 0xF0, 0x00, 0x00, 0x00)), 0x00); // ready
    QCOMPARE(int(run(chip, 0x12, 0x34, 0x56, 0x78, &changed)), 0x00);
    QCOMPARE(changed, 0u);
    QVERIFY(chip.memories().flash == before.flash);
    QVERIFY(chip.memories().eeprom == before.eeprom);
}

void SimIspTest::emptySocketAnswersZeroToEverything()
{
    Chip chip(nullptr);
    for (const char *hex :
         {"30000000", "30000100", "50000000", "58080000", "58000000", "38000000", "20000000", "A0000000"}) {
        const QByteArray b = QByteArray::fromHex(hex);
        QCOMPARE(int(run(chip, quint8(b[0]), quint8(b[1]), quint8(b[2]), quint8(b[3]))), 0x00);
    }
}

QTEST_APPLESS_MAIN(SimIspTest)
#include "tst_sim_isp.moc"
