// The simulated chip's memories and the silicon rules it follows.
#include "chip.h"

#include <QtTest>

class SimChipTest : public QObject {
    Q_OBJECT

private slots:
    void factoryState_data();
    void factoryState();
    void flashProgrammingOnlyClearsBits();
    void pageWriteProgramsTheAddressedPageOnly();
    void chipErase_data();
    void chipErase();
    void spienSurvivesHighFuseWrites_data();
    void spienSurvivesHighFuseWrites();
    void fusesChangeBothWays();
    void lockBitsOnlyGetProgrammed();
    void lockModeTwoStopsProgramming();
    void lockModeThreeAlsoHidesMemories();
    void addressesWrapAroundTheMemory();
    void emptySocketReadsZeroAndIgnoresWrites();
};

void SimChipTest::factoryState_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<int>("flashSize");
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<int>("lfuse");
    QTest::addColumn<int>("hfuse");
    QTest::newRow("ATmega8") << "m8" << QByteArray("\x1E\x93\x07", 3) << 8192 << 64 << 0xE1 << 0xD9;
    QTest::newRow("ATmega16") << "m16" << QByteArray("\x1E\x94\x03", 3) << 16384 << 128 << 0xE1 << 0x99;
}

void SimChipTest::factoryState()
{
    QFETCH(QString, id);
    QFETCH(QByteArray, signature);
    QFETCH(int, flashSize);
    QFETCH(int, pageSize);
    QFETCH(int, lfuse);
    QFETCH(int, hfuse);

    const ChipModel *model = findChipModel(id.toStdString());
    QVERIFY(model);
    QCOMPARE(int(model->flashPageSize), pageSize);
    Chip chip(model);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(chip.signatureByte(unsigned(i)), quint8(signature[i]));
    QCOMPARE(int(chip.memories().flash.size()), flashSize);
    QCOMPARE(int(chip.memories().eeprom.size()), 512);
    QCOMPARE(int(chip.readLowFuse()), lfuse);
    QCOMPARE(int(chip.readHighFuse()), hfuse);
    QCOMPARE(int(chip.readLock()), 0xFF);
    const quint8 calibration[] = {0xA5, 0x9F, 0x9D, 0xA0};
    for (unsigned i = 0; i < 4; ++i)
        QCOMPARE(chip.calibrationByte(i), calibration[i]);
    for (int a : {0, flashSize / 2, flashSize - 1})
        QCOMPARE(int(chip.readFlash(uint32_t(a))), 0xFF);
    for (int a : {0, 511})
        QCOMPARE(int(chip.readEeprom(uint32_t(a))), 0xFF);
}

void SimChipTest::flashProgrammingOnlyClearsBits()
{
    Chip chip(&atmega8Model());
    QCOMPARE(chip.programFlash(10, 0xF0), unsigned(FlashPart));
    QCOMPARE(int(chip.readFlash(10)), 0xF0);
    chip.programFlash(10, 0x3F); // 1 bits cannot come back without an erase
    QCOMPARE(int(chip.readFlash(10)), 0x30);
    QCOMPARE(chip.programFlash(10, 0xFF), 0u); // nothing changes, nothing to save
    QCOMPARE(int(chip.readFlash(10)), 0x30);
    QCOMPARE(int(chip.readFlash(11)), 0xFF);
    chip.chipErase();
    QCOMPARE(int(chip.readFlash(10)), 0xFF);
}

void SimChipTest::pageWriteProgramsTheAddressedPageOnly()
{
    Chip chip(&atmega8Model()); // 64-byte pages = 32 words
    chip.programFlash(64 + 2, 0x0F);
    // Load words 0 and 1 of a page; the word address's page bits do not
    // matter while loading, only when the page is written.
    chip.loadPageBuffer(32 + 0, false, 0x12);
    chip.loadPageBuffer(32 + 0, true, 0x34);
    chip.loadPageBuffer(1, false, 0xF6);
    QCOMPARE(chip.readFlash(64), quint8(0xFF)); // loading alone writes nothing
    QCOMPARE(chip.writePage(32 + 17), unsigned(FlashPart));

    QCOMPARE(chip.readFlash(64), quint8(0x12));
    QCOMPARE(chip.readFlash(65), quint8(0x34));
    QCOMPARE(chip.readFlash(66), quint8(0x06)); // 0x0F & 0xF6
    QCOMPARE(chip.readFlash(67), quint8(0xFF));
    QCOMPARE(chip.readFlash(0), quint8(0xFF));   // the page before
    QCOMPARE(chip.readFlash(128), quint8(0xFF)); // the page after

    // The buffer is spent: a second page write programs nothing.
    QCOMPARE(chip.writePage(0), 0u);
    QCOMPARE(chip.readFlash(0), quint8(0xFF));
}

void SimChipTest::chipErase_data()
{
    QTest::addColumn<int>("hfuse");
    QTest::addColumn<bool>("eepromKept");
    QTest::newRow("EESAVE unprogrammed") << 0xD9 << false;
    QTest::newRow("EESAVE programmed") << 0xD1 << true;
}

void SimChipTest::chipErase()
{
    QFETCH(int, hfuse);
    QFETCH(bool, eepromKept);

    Chip chip(&atmega8Model());
    chip.writeHighFuse(quint8(hfuse));
    chip.writeLowFuse(0x3F);
    chip.programFlash(100, 0x00);
    chip.writeEeprom(7, 0x42);
    chip.writeLock(0xFC);

    const unsigned changed = chip.chipErase();
    QCOMPARE(chip.memories().flash[100], quint8(0xFF));
    QCOMPARE(int(chip.readLock()), 0xFF);
    QCOMPARE(int(chip.readEeprom(7)), eepromKept ? 0x42 : 0xFF);
    QCOMPARE(int(chip.readLowFuse()), 0x3F); // fuses survive an erase
    QCOMPARE(int(chip.readHighFuse()), hfuse);
    QCOMPARE(changed, FlashPart | LockPart | (eepromKept ? 0u : unsigned(EepromPart)));
}

void SimChipTest::spienSurvivesHighFuseWrites_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("after");
    QTest::newRow("cannot unprogram SPIEN") << 0xD9 << 0xF9 << 0xD9;
    QTest::newRow("other bits change, SPIEN kept") << 0xD9 << 0xE6 << 0xC6;
    QTest::newRow("cannot program SPIEN either") << 0xF9 << 0xD9 << 0xF9;
}

void SimChipTest::spienSurvivesHighFuseWrites()
{
    QFETCH(int, before);
    QFETCH(int, written);
    QFETCH(int, after);
    Chip chip(&atmega8Model());
    chip.memories().highFuse = quint8(before);
    chip.writeHighFuse(quint8(written));
    QCOMPARE(int(chip.readHighFuse()), after);
}

void SimChipTest::fusesChangeBothWays()
{
    Chip chip(&atmega16Model());
    QCOMPARE(chip.writeLowFuse(0x00), unsigned(LowFusePart));
    QCOMPARE(int(chip.readLowFuse()), 0x00);
    chip.writeLowFuse(0xFF);
    QCOMPARE(int(chip.readLowFuse()), 0xFF);
    QCOMPARE(chip.writeLowFuse(0xFF), 0u);
}

void SimChipTest::lockBitsOnlyGetProgrammed()
{
    Chip chip(&atmega8Model());
    QCOMPARE(chip.writeLock(0xFE), unsigned(LockPart));
    QCOMPARE(int(chip.readLock()), 0xFE);
    chip.writeLock(0xFD); // LB1 stays programmed, LB2 joins it
    QCOMPARE(int(chip.readLock()), 0xFC);
    QCOMPARE(chip.writeLock(0xFF), 0u);
    QCOMPARE(int(chip.readLock()), 0xFC);
    // Bits 7..6 do not exist and read as 1 whatever was written.
    Chip other(&atmega8Model());
    other.writeLock(0x3F);
    QCOMPARE(int(other.readLock()), 0xFF);
    other.memories().lock = 0x3C; // as a preset lock file may hold it
    QCOMPARE(int(other.readLock()), 0xFC);
}

void SimChipTest::lockModeTwoStopsProgramming()
{
    Chip chip(&atmega8Model());
    chip.programFlash(0, 0x11);
    chip.writeEeprom(0, 0x22);
    chip.writeLock(0xFE);

    QCOMPARE(chip.programFlash(2, 0x00), 0u);
    QCOMPARE(chip.writeEeprom(0, 0x33), 0u);
    QCOMPARE(chip.writeLowFuse(0x00), 0u);
    QCOMPARE(chip.writeHighFuse(0xC9), 0u);
    QCOMPARE(int(chip.readFlash(2)), 0xFF);
    QCOMPARE(int(chip.readFlash(0)), 0x11); // still readable in mode 2
    QCOMPARE(int(chip.readEeprom(0)), 0x22);
    QCOMPARE(int(chip.readLowFuse()), 0xE1);
}

void SimChipTest::lockModeThreeAlsoHidesMemories()
{
    Chip chip(&atmega8Model());
    chip.programFlash(0, 0x11);
    chip.writeEeprom(0, 0x22);
    chip.writeLock(0xFC);
    QCOMPARE(int(chip.readFlash(0)), 0xFF);
    QCOMPARE(int(chip.readEeprom(0)), 0xFF);
    QCOMPARE(int(chip.readLowFuse()), 0xE1); // fuses and signature stay readable
    QCOMPARE(int(chip.signatureByte(0)), 0x1E);
    chip.chipErase();
    QCOMPARE(int(chip.readLock()), 0xFF);
    QCOMPARE(chip.programFlash(0, 0x44), unsigned(FlashPart));
    QCOMPARE(int(chip.readFlash(0)), 0x44);
}

void SimChipTest::addressesWrapAroundTheMemory()
{
    Chip chip(&atmega8Model());
    chip.programFlash(8192 + 5, 0x55);
    QCOMPARE(int(chip.readFlash(5)), 0x55);
    chip.writeEeprom(512 + 3, 0x66);
    QCOMPARE(int(chip.readEeprom(3)), 0x66);
}

void SimChipTest::emptySocketReadsZeroAndIgnoresWrites()
{
    Chip chip(nullptr);
    QVERIFY(!chip.present());
    for (unsigned i = 0; i < 3; ++i)
        QCOMPARE(int(chip.signatureByte(i)), 0x00);
    QCOMPARE(int(chip.calibrationByte(0)), 0x00);
    QCOMPARE(int(chip.readFlash(0)), 0x00);
    QCOMPARE(int(chip.readEeprom(0)), 0x00);
    QCOMPARE(int(chip.readLowFuse()), 0x00);
    QCOMPARE(int(chip.readHighFuse()), 0x00);
    QCOMPARE(int(chip.readLock()), 0x00);
    QCOMPARE(chip.programFlash(0, 0x00), 0u);
    QCOMPARE(chip.writeEeprom(0, 0x00), 0u);
    QCOMPARE(chip.writeLowFuse(0x00), 0u);
    QCOMPARE(chip.chipErase(), 0u);
    chip.loadPageBuffer(0, false, 0x00);
    QCOMPARE(chip.writePage(0), 0u);
}

QTEST_APPLESS_MAIN(SimChipTest)
#include "tst_sim_chip.moc"
