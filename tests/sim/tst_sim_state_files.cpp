// The chip's memories as raw files in a folder, and the command line.
#include "byte_files.h"
#include "chip.h"
#include "chip_state_files.h"
#include "sim_options.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

ino_t inodeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(path.toLocal8Bit().constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class SimStateFilesTest : public QObject {
    Q_OBJECT

private slots:
    void missingFilesGetFactoryContent_data();
    void missingFilesGetFactoryContent();
    void presetFilesAreLoaded();
    void oddSizedFilesAreFitted();
    void saveRewritesOnlyTheChangedFilesAndLeavesNoTemporaries();
    void folderIsCreated();
    void options_data();
    void options();
};

void SimStateFilesTest::missingFilesGetFactoryContent_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("flashSize");
    QTest::addColumn<QByteArray>("hfuse");
    QTest::newRow("ATmega8") << "m8" << 8192 << QByteArray("\xD9");
    QTest::newRow("ATmega16") << "m16" << 16384 << QByteArray("\x99");
}

void SimStateFilesTest::missingFilesGetFactoryContent()
{
    QFETCH(QString, part);
    QFETCH(int, flashSize);
    QFETCH(QByteArray, hfuse);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Chip chip(findChipModel(part.toStdString()));
    ChipStateFiles files(dir.path().toStdString());
    files.load(chip);

    QCOMPARE(readBytes(dir.filePath("flash.bin")), QByteArray(flashSize, char(0xFF)));
    QCOMPARE(readBytes(dir.filePath("eeprom.bin")), QByteArray(512, char(0xFF)));
    QCOMPARE(readBytes(dir.filePath("lfuse")), QByteArray("\xE1"));
    QCOMPARE(readBytes(dir.filePath("hfuse")), hfuse);
    QCOMPARE(readBytes(dir.filePath("lock")), QByteArray("\xFF"));
    QCOMPARE(readBytes(dir.filePath("calibration")), QByteArray("\xA5\x9F\x9D\xA0"));
}

void SimStateFilesTest::presetFilesAreLoaded()
{
    QTemporaryDir dir;
    const QByteArray flash = patternBytes(8192, 1);
    const QByteArray eeprom = patternBytes(512, 2);
    QVERIFY(writeBytes(dir.filePath("flash.bin"), flash));
    QVERIFY(writeBytes(dir.filePath("eeprom.bin"), eeprom));
    QVERIFY(writeBytes(dir.filePath("lfuse"), "\x24"));
    QVERIFY(writeBytes(dir.filePath("hfuse"), "\xC9"));
    QVERIFY(writeBytes(dir.filePath("lock"), "\xFC"));
    QVERIFY(writeBytes(dir.filePath("calibration"), "\x01\x02\x03\x04"));

    Chip chip(&atmega8Model());
    ChipStateFiles files(dir.path().toStdString());
    files.load(chip);
    const ChipMemories &m = chip.memories();
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.flash.data()), int(m.flash.size())), flash);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.eeprom.data()), int(m.eeprom.size())), eeprom);
    QCOMPARE(int(m.lowFuse), 0x24);
    QCOMPARE(int(m.highFuse), 0xC9);
    QCOMPARE(int(m.lock), 0xFC);
    QCOMPARE(int(chip.calibrationByte(3)), 0x04);

    // Loading again picks up edits made in between.
    QVERIFY(writeBytes(dir.filePath("lfuse"), "\x3F"));
    files.load(chip);
    QCOMPARE(int(chip.readLowFuse()), 0x3F);
}

void SimStateFilesTest::oddSizedFilesAreFitted()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath("flash.bin"), "\x01\x02"));
    QVERIFY(writeBytes(dir.filePath("eeprom.bin"), QByteArray(600, 0x11)));
    QVERIFY(writeBytes(dir.filePath("lfuse"), ""));
    QVERIFY(writeBytes(dir.filePath("calibration"), "\x77"));
    Chip chip(&atmega8Model());
    ChipStateFiles(dir.path().toStdString()).load(chip);
    const ChipMemories &m = chip.memories();
    QCOMPARE(int(m.flash.size()), 8192);
    QCOMPARE(int(m.flash[1]), 0x02);
    QCOMPARE(int(m.flash[2]), 0xFF);
    QCOMPARE(int(m.eeprom.size()), 512);
    QCOMPARE(int(m.lowFuse), 0xE1);
    QCOMPARE(int(chip.calibrationByte(0)), 0x77);
    QCOMPARE(int(chip.calibrationByte(1)), 0x9F);
}

void SimStateFilesTest::saveRewritesOnlyTheChangedFilesAndLeavesNoTemporaries()
{
    QTemporaryDir dir;
    Chip chip(&atmega8Model());
    ChipStateFiles files(dir.path().toStdString());
    files.load(chip);
    const ino_t flashBefore = inodeOf(dir.filePath("flash.bin"));
    const ino_t lfuseBefore = inodeOf(dir.filePath("lfuse"));

    const unsigned changed = chip.writeLowFuse(0x12) | chip.writeEeprom(3, 0x34);
    QVERIFY(files.save(chip, changed));
    QCOMPARE(readBytes(dir.filePath("lfuse")), QByteArray("\x12"));
    QCOMPARE(readBytes(dir.filePath("eeprom.bin")).at(3), char(0x34));
    QCOMPARE(inodeOf(dir.filePath("flash.bin")), flashBefore); // untouched
    QVERIFY(inodeOf(dir.filePath("lfuse")) != lfuseBefore);    // replaced by rename
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 6);
}

void SimStateFilesTest::folderIsCreated()
{
    QTemporaryDir dir;
    const QString nested = dir.filePath("a/b/chip");
    ChipStateFiles files(nested.toStdString());
    std::string error;
    QVERIFY2(files.prepare(&error), error.c_str());
    Chip chip(&atmega16Model());
    files.load(chip);
    QCOMPARE(readBytes(nested + "/flash.bin").size(), 16384);
    QVERIFY(writeBytes(dir.filePath("plain"), "x"));
    QVERIFY(!ChipStateFiles(dir.filePath("plain").toStdString()).prepare(&error));
}

void SimStateFilesTest::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("block");
    QTest::newRow("defaults") << QStringList{} << true << "m8" << 128;
    QTest::newRow("all given") << QStringList{"--chip", "m16",     "--state", "/s",    "--port-file",
                                              "/p",     "--block", "0",       "--log", "/l"}
                               << true << "m16" << 0;
    QTest::newRow("equals form") << QStringList{"--chip=none", "--block=512"} << true << "none" << 512;
    QTest::newRow("silent") << QStringList{"--silent"} << true << "m8" << 128;
    QTest::newRow("largest block") << QStringList{"--block", "65535"} << true << "m8" << 65535;
    QTest::newRow("block too big") << QStringList{"--block", "65536"} << false << "" << 0;
    QTest::newRow("block not a number") << QStringList{"--block", "12k"} << false << "" << 0;
    QTest::newRow("unknown chip") << QStringList{"--chip", "m328p"} << false << "" << 0;
    QTest::newRow("missing value") << QStringList{"--state"} << false << "" << 0;
    QTest::newRow("empty value") << QStringList{"--port-file="} << false << "" << 0;
    QTest::newRow("unknown option") << QStringList{"--fast"} << false << "" << 0;
    QTest::newRow("silent takes no value") << QStringList{"--silent=yes"} << false << "" << 0;
}

void SimStateFilesTest::options()
{
    QFETCH(QStringList, args);
    QFETCH(bool, valid);
    QFETCH(QString, chip);
    QFETCH(int, block);
    std::vector<std::string> argv;
    for (const QString &a : args)
        argv.push_back(a.toStdString());
    SimOptions options;
    std::string error;
    QCOMPARE(parseSimOptions(argv, options, &error), valid);
    if (!valid) {
        QVERIFY(!error.empty());
        return;
    }
    QCOMPARE(QString::fromStdString(options.chip), chip);
    QCOMPARE(int(options.blockSize), block);
    QCOMPARE(options.silent, args.contains("--silent"));
    if (args.contains("--state")) {
        QCOMPARE(options.stateFolder, std::string("/s"));
        QCOMPARE(options.portFile, std::string("/p"));
        QCOMPARE(options.logFile, std::string("/l"));
    }
}

QTEST_APPLESS_MAIN(SimStateFilesTest)
#include "tst_sim_state_files.moc"
