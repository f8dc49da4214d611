// The silicon rules as avrdude sees them through the simulator (ATmega8,
// block mode): SPIEN, Flash bits that only go 1 -> 0, chip erase and EESAVE,
// lock bits.
#include "avrdude_runner.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "sim_paths.h"
#include "sim_process.h"

#include <QtTest>

class SimAvrdudeSiliconTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void spienCannotBeChanged();
    void flashBitsOnlyGoDownWithoutErase();
    void chipErase_data();
    void chipErase();
    void lockedChipReadsErased();

private:
    AvrdudeResult avrdude(const QStringList &args);
    QString state(const QString &name) const { return dir_.filePath("chip/" + name); }
    QString file(const QString &name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    SimProcess sim_;
};

void SimAvrdudeSiliconTest::initTestCase()
{
    if (!QFileInfo(realAvrdude()).isExecutable())
        QSKIP("avrdude is not installed");
    QVERIFY2(sim_.start(dir_.filePath("port"), {"--chip", "m8", "--state", dir_.filePath("chip")}),
             qPrintable(sim_.errorText()));
}

void SimAvrdudeSiliconTest::cleanupTestCase()
{
    QCOMPARE(sim_.stop(), 0);
}

void SimAvrdudeSiliconTest::init()
{
    for (const QString &name : QDir(dir_.filePath("chip")).entryList(QDir::Files))
        QVERIFY(QFile::remove(state(name)));
}

AvrdudeResult SimAvrdudeSiliconTest::avrdude(const QStringList &args)
{
    return runAvr910(realAvrdude(), "m8", sim_.port(), args, dir_.path());
}

void SimAvrdudeSiliconTest::spienCannotBeChanged()
{
    QVERIFY(writeBytes(file("hfuse-in.bin"), "\xF9")); // factory 0xD9 with SPIEN unprogrammed
    const AvrdudeResult r = avrdude({"-U", "hfuse:w:hfuse-in.bin:r"});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.output.contains("device 0xd9 != input 0xf9"), qPrintable(r.output));
    QVERIFY2(r.output.contains("avrdude error: verification mismatch"), qPrintable(r.output));
    QCOMPARE(readBytes(state("hfuse")), QByteArray("\xD9"));
}

void SimAvrdudeSiliconTest::flashBitsOnlyGoDownWithoutErase()
{
    const QByteArray before = patternBytes(8192, 31);
    const QByteArray written = patternBytes(8192, 32);
    QByteArray anded(8192, '\0');
    for (int i = 0; i < 8192; ++i)
        anded[i] = char(before[i] & written[i]);
    QVERIFY(writeBytes(state("flash.bin"), before));
    QVERIFY(writeBytes(file("image.hex"), toIntelHex(written)));

    // -D: no chip erase first, so the programmed bits stay programmed.
    const AvrdudeResult r = avrdude({"-D", "-U", "flash:w:image.hex:i"});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.output.contains("verification mismatch"), qPrintable(r.output));
    QCOMPARE(readBytes(state("flash.bin")), anded);

    // The same write with avrdude's automatic chip erase takes.
    const AvrdudeResult erased = avrdude({"-U", "flash:w:image.hex:i"});
    QVERIFY2(erased.ok(), qPrintable(erased.output));
    QVERIFY2(erased.output.contains("erasing chip"), qPrintable(erased.output));
    QCOMPARE(readBytes(state("flash.bin")), written);
}

void SimAvrdudeSiliconTest::chipErase_data()
{
    QTest::addColumn<QByteArray>("hfuse");
    QTest::addColumn<bool>("eepromKept");
    QTest::newRow("EESAVE unprogrammed") << QByteArray("\xD9") << false;
    QTest::newRow("EESAVE programmed") << QByteArray("\xD1") << true;
}

void SimAvrdudeSiliconTest::chipErase()
{
    QFETCH(QByteArray, hfuse);
    QFETCH(bool, eepromKept);
    const QByteArray eeprom = patternBytes(512, 41);
    QVERIFY(writeBytes(state("hfuse"), hfuse));
    QVERIFY(writeBytes(state("lfuse"), "\x24"));
    QVERIFY(writeBytes(state("eeprom.bin"), eeprom));
    QVERIFY(writeBytes(state("flash.bin"), patternBytes(8192, 42)));
    QVERIFY(writeBytes(state("lock"), "\xFC"));

    const AvrdudeResult r = avrdude({"-e", "-U", "lock:r:lock.bin:r"});
    QVERIFY2(r.ok(), qPrintable(r.output));
    QVERIFY2(r.output.contains("erasing chip"), qPrintable(r.output));
    QCOMPARE(readBytes(file("lock.bin")), QByteArray("\xFF"));
    QCOMPARE(readBytes(state("lock")), QByteArray("\xFF"));
    QCOMPARE(readBytes(state("flash.bin")), QByteArray(8192, char(0xFF)));
    QCOMPARE(readBytes(state("eeprom.bin")), eepromKept ? eeprom : QByteArray(512, char(0xFF)));
    QCOMPARE(readBytes(state("hfuse")), hfuse);
    QCOMPARE(readBytes(state("lfuse")), QByteArray("\x24"));
}

void SimAvrdudeSiliconTest::lockedChipReadsErased()
{
    QVERIFY(writeBytes(state("flash.bin"), patternBytes(8192, 51)));
    QVERIFY(writeBytes(state("lock"), "\xFC")); // mode 3: no verification
    const AvrdudeResult r = avrdude({"-U", "flash:r:flash.bin:r", "-U", "lock:r:lock.bin:r"});
    QVERIFY2(r.ok(), qPrintable(r.output));
    QCOMPARE(padded(readBytes(file("flash.bin")), 8192), QByteArray(8192, char(0xFF)));
    QCOMPARE(readBytes(file("lock.bin")), QByteArray("\xFC"));
    QCOMPARE(readBytes(state("flash.bin")), patternBytes(8192, 51));
}

QTEST_GUILESS_MAIN(SimAvrdudeSiliconTest)
#include "tst_sim_avrdude_silicon.moc"
