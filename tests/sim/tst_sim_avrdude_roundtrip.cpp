// Round trips through the real avrdude (-c avr910) and the simulator. Built
// once per chip and block mode; SIM_CHIP and SIM_BLOCK come from CMake.
#include "avrdude_runner.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "sim_paths.h"
#include "sim_process.h"

#include <QtTest>

namespace {

struct Part {
    QString id;
    QString signatureLine;
    int flashSize;
};

Part testedPart()
{
    if (QStringLiteral(SIM_CHIP) == "m16")
        return {"m16", "device signature = 0x1e9403 (probably m16)", 16384};
    return {"m8", "device signature = 0x1e9307 (probably m8)", 8192};
}

} // namespace

class SimAvrdudeRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void signatureProbe();
    void fusesLockAndCalibrationRead();
    void fusesAndLockWrite();
    void flashAndEepromWriteWithVerify();
    void flashAndEepromReadToHexAndRaw();

private:
    AvrdudeResult avrdude(const QStringList &args);
    QString state(const QString &name) const { return dir_.filePath("chip/" + name); }
    QString file(const QString &name) const { return dir_.filePath(name); }

    Part part_ = testedPart();
    QTemporaryDir dir_;
    SimProcess sim_;
};

void SimAvrdudeRoundTripTest::initTestCase()
{
    if (!QFileInfo(realAvrdude()).isExecutable())
        QSKIP("avrdude is not installed");
    QVERIFY(dir_.isValid());
    QVERIFY2(sim_.start(dir_.filePath("port"), {"--chip", part_.id, "--block", QString::number(SIM_BLOCK), "--state",
                                                dir_.filePath("chip"), "--log", dir_.filePath("protocol.log")}),
             qPrintable(sim_.errorText()));
}

void SimAvrdudeRoundTripTest::cleanupTestCase()
{
    QCOMPARE(sim_.stop(), 0);
}

void SimAvrdudeRoundTripTest::init()
{
    // Back to a factory-fresh chip: the simulator recreates missing files
    // when the next avrdude run starts.
    for (const QString &name : QDir(dir_.filePath("chip")).entryList(QDir::Files))
        QVERIFY(QFile::remove(state(name)));
}

AvrdudeResult SimAvrdudeRoundTripTest::avrdude(const QStringList &args)
{
    AvrdudeResult r = runAvr910(realAvrdude(), part_.id, sim_.port(), args, dir_.path());
    if (!r.finished)
        qWarning("avrdude did not finish:\n%s", qPrintable(r.output));
    return r;
}

void SimAvrdudeRoundTripTest::signatureProbe()
{
    const AvrdudeResult r = avrdude({"-E", "reset"});
    QVERIFY2(r.ok(), qPrintable(r.output));
    QVERIFY2(r.output.contains(part_.signatureLine), qPrintable(r.output));
    // The avr910 driver has no -E handling; avrdude 7.1 only warns.
    QVERIFY2(r.output.contains("avrdude warning: -E option not supported by this programmer type"),
             qPrintable(r.output));
}

void SimAvrdudeRoundTripTest::fusesLockAndCalibrationRead()
{
    // Preset between runs: the simulator reloads its files per session.
    QVERIFY(writeBytes(state("lfuse"), "\x3F"));
    QVERIFY(writeBytes(state("hfuse"), "\xC8"));
    QVERIFY(writeBytes(state("lock"), "\xFE"));
    QVERIFY(writeBytes(state("calibration"), "\x81\x82\x83\x84"));
    const AvrdudeResult r = avrdude({"-U", "lfuse:r:lfuse.bin:r", "-U", "hfuse:r:hfuse.bin:r", "-U",
                                     "lock:r:lock.bin:r", "-U", "calibration:r:cal.bin:r"});
    QVERIFY2(r.ok(), qPrintable(r.output));
    QCOMPARE(readBytes(file("lfuse.bin")), QByteArray("\x3F"));
    QCOMPARE(readBytes(file("hfuse.bin")), QByteArray("\xC8"));
    QCOMPARE(readBytes(file("lock.bin")), QByteArray("\xFE"));
    QCOMPARE(readBytes(file("cal.bin")), QByteArray("\x81\x82\x83\x84"));
}

void SimAvrdudeRoundTripTest::fusesAndLockWrite()
{
    QVERIFY(writeBytes(file("lfuse-in.bin"), "\xA4"));
    QVERIFY(writeBytes(file("hfuse-in.bin"), "\xC1")); // SPIEN stays programmed
    QVERIFY(writeBytes(file("lock-in.bin"), "\xFE"));
    // -u was "unsafe mode" once; 7.1 prints an error about it and goes on.
    const AvrdudeResult r =
        avrdude({"-u", "-U", "lfuse:w:lfuse-in.bin:r", "-U", "hfuse:w:hfuse-in.bin:r", "-U", "lock:w:lock-in.bin:r"});
    QVERIFY2(r.ok(), qPrintable(r.output));
    QVERIFY2(r.output.contains("1 byte of lfuse verified"), qPrintable(r.output));
    QVERIFY2(r.output.contains("1 byte of hfuse verified"), qPrintable(r.output));
    QVERIFY2(r.output.contains("1 byte of lock verified"), qPrintable(r.output));
    QCOMPARE(readBytes(state("lfuse")), QByteArray("\xA4"));
    QCOMPARE(readBytes(state("hfuse")), QByteArray("\xC1"));
    QCOMPARE(readBytes(state("lock")), QByteArray("\xFE"));
}

void SimAvrdudeRoundTripTest::flashAndEepromWriteWithVerify()
{
    const QByteArray flash = patternBytes(part_.flashSize, 11);
    const QByteArray eeprom = patternBytes(40, 12);
    QVERIFY(writeBytes(file("image.hex"), toIntelHex(flash)));
    QVERIFY(writeBytes(file("eeprom-in.bin"), eeprom));
    const AvrdudeResult r = avrdude({"-U", "flash:w:image.hex:i", "-U", "eeprom:w:eeprom-in.bin:r"});
    QVERIFY2(r.ok(), qPrintable(r.output));
    QVERIFY2(r.output.contains(QString("%1 bytes of flash verified").arg(part_.flashSize)), qPrintable(r.output));
    QVERIFY2(r.output.contains("40 bytes of eeprom verified"), qPrintable(r.output));
    QCOMPARE(readBytes(state("flash.bin")), flash);
    QCOMPARE(readBytes(state("eeprom.bin")), padded(eeprom, 512));
}

void SimAvrdudeRoundTripTest::flashAndEepromReadToHexAndRaw()
{
    QByteArray flash = patternBytes(part_.flashSize / 2, 21); // upper half erased
    QByteArray eeprom = patternBytes(512, 22);
    QVERIFY(writeBytes(state("flash.bin"), padded(flash, part_.flashSize)));
    QVERIFY(writeBytes(state("eeprom.bin"), eeprom));
    const AvrdudeResult r = avrdude({"-U", "flash:r:flash.hex:i", "-U", "flash:r:flash.bin:r", "-U",
                                     "eeprom:r:eeprom.hex:i", "-U", "eeprom:r:eeprom.bin:r"});
    QVERIFY2(r.ok(), qPrintable(r.output));

    // avrdude leaves trailing 0xFF out of Flash images.
    QCOMPARE(readBytes(file("flash.bin")), flash);
    QByteArray image;
    QVERIFY(fromIntelHex(readBytes(file("flash.hex")), image));
    QCOMPARE(image, flash);
    QCOMPARE(readBytes(file("eeprom.bin")), eeprom);
    QVERIFY(fromIntelHex(readBytes(file("eeprom.hex")), image));
    QCOMPARE(image, eeprom);
}

QTEST_GUILESS_MAIN(SimAvrdudeRoundTripTest)
#include "tst_sim_avrdude_roundtrip.moc"
