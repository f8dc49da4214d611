// End to end in avrdude 8.x's dialect: a stand-in that speaks 8.1 in front of
// the real 7.1 and the virtual chip. First the stand-in is held to what the
// real 8.1 printed for the same runs, then the window works through it.

#include "app_test_main.h"
#include "avrdude_runner.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "recorded_output.h"
#include "sim_bench.h"
#include "sim_paths.h"

#include <QCheckBox>
#include <QFile>
#include <QRegularExpression>

namespace {
const QString standin = QStringLiteral(FW_AVRDUDE81_STANDIN);
const QString unplugged = QStringLiteral("/dev/fusewright-unplugged");

// The window's tools folder runs the 8.1 stand-in instead of the real tool.
struct Speaking81 {
    Speaking81() { qputenv("FUSEWRIGHT_REAL_AVRDUDE", QFile::encodeName(standin)); }
    ~Speaking81() { qunsetenv("FUSEWRIGHT_REAL_AVRDUDE"); }
};

void unplug(SimBench &bench)
{
    QFile port(bench.fixture().toolsFolder() + QStringLiteral("/sim-port"));
    QVERIFY(port.open(QIODevice::WriteOnly | QIODevice::Truncate));
    port.write(QFile::encodeName(unplugged) + '\n');
}
} // namespace

class E2eAvrdude8 : public QObject {
    Q_OBJECT
private slots:
    void standinPrintsWhat81Printed_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("recording");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("probe") << "m8"
                               << "m8" << QStringList{"-E", "reset"} << "a1-probe" << 0;
        QTest::newRow("wrong chip") << "m8"
                                    << "m16" << QStringList{"-E", "reset"} << "b1-wrongchip" << 1;
        QTest::newRow("wrong chip, -F") << "m8"
                                        << "m16" << QStringList{"-E", "reset", "-F"} << "b2-wrongchip-F" << 0;
        QTest::newRow("empty socket") << "none"
                                      << "m8" << QStringList{"-E", "reset"} << "g2-chip-none" << 1;
        QTest::newRow("empty socket, -F") << "none"
                                          << "m8" << QStringList{"-E", "reset", "-F"} << "g4-chip-none-F" << 0;
        QTest::newRow("high fuse read") << "m8"
                                        << "m8" << QStringList{"-U", "hfuse:r:fuse.bin:r"} << "c1-read-hfuse" << 0;
        QTest::newRow("safe mode refused")
            << "m8"
            << "m8" << QStringList{"-U", "lock:w:0xff:m", "-u"} << "d1-write-fuses-u" << 0;
        QTest::newRow("usage") << "m8"
                               << "m8" << QStringList{"-?"} << "h1-usage" << 0;
        // Only the signature line of -v is spoken; the rest of its report is 8.1's own.
        QTest::newRow("probe -v") << "m8"
                                  << "m8" << QStringList{"-E", "reset", "-v"} << "a2-probe-v" << 0;
    }
    void standinPrintsWhat81Printed()
    {
        QFETCH(QString, chip);
        QFETCH(QString, part);
        QFETCH(QStringList, args);
        QFETCH(QString, recording);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        SimProcess sim;
        QVERIFY2(sim.start(dir.filePath("port"), {"--chip", chip, "--state", dir.path()}), qPrintable(sim.errorText()));
        const AvrdudeResult r = runAvr910(standin, part, sim.port(), args, dir.path());
        QCOMPARE(r.exitCode, exitCode);
        QString expected = recorded(recording + "-8.1");
        if (args.contains("-v")) {
            static const QRegularExpression line("^Device signature = .*$", QRegularExpression::MultilineOption);
            QCOMPARE(line.match(r.output).captured(), line.match(expected).captured());
            return;
        }
        // Only the program's own name differs: the recording ran /usr/local/bin/avrdude.
        expected.replace("/usr/local/bin/avrdude: invalid option", standin + ": invalid option");
        QCOMPARE(r.output, expected);
    }

    void portThatCannotBeOpenedIsShownAsTheToolSaysIt_data()
    {
        QTest::addColumn<bool>("dialect81");
        QTest::addColumn<QString>("reason");
        QTest::newRow("7.1") << false << "avrdude OS error: cannot open port " + unplugged;
        QTest::newRow("8.1") << true << "OS error: cannot open port " + unplugged;
    }
    void portThatCannotBeOpenedIsShownAsTheToolSaysIt()
    {
        QFETCH(bool, dialect81);
        QFETCH(QString, reason);
        std::optional<Speaking81> speaking;
        if (dialect81)
            speaking.emplace();
        SimBench bench("m8");
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll("ATmega8", "avr910", "com1");
        unplug(bench);
        bench.window().cmdFuseRD_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList{"编程器或器件错误\r\nDevice signature=|错误"});
        const QString probe = bench.window().strCommand.text;
        QVERIFY(probe.endsWith(dialect81 ? " -E reset -v" : " -E reset"));
        QVERIFY2(f.paneText().startsWith(probe + "\r\n" + reason), qPrintable(f.paneText()));
        QVERIFY2(f.paneText().endsWith("\n\r\n提示：找不到所选的串口：请检查“端口选择”，"
                                       "或在 ports.ini 中把它映射到实际的设备（如 com1=/dev/ttyUSB0）"),
                 qPrintable(f.paneText()));
    }

    // Every operation through 8.1's dialect: the bytes that reach the chip and
    // what the window shows.
    void everyOperationWorksWith81()
    {
        Speaking81 speaking;
        SimBench bench("m8");
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll("ATmega8", "avr910", "com1");
        const QString tools = f.toolsFolder();
        const QString prefix = tools + "/avrdude -p m8 -C " + tools + "/avrdude.conf -c avr910 -P /dev/ttyS0";

        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        QCOMPARE(f.paneText().count("Avrdude done.  Thank you."), 3);
        QVERIFY2(!f.paneText().contains("ignature"), qPrintable(f.paneText()));

        f.choose("cmbOsc", "内部RC 8MHz");
        w.chkFuse(20)->setChecked(true); // EESAVE
        w.cmdFuseWR_Click();
        const QString write = prefix + " -U lfuse:w:\"" + tools + "/lfuse.bin\":r -U hfuse:w:\"" + tools
                              + "/hfuse.bin\":r -U lock:w:\"" + tools + "/lock.bin\":r";
        QCOMPARE(w.strCommand.text, write);
        QCOMPARE(bench.stateFile("lfuse") + bench.stateFile("hfuse") + bench.stateFile("lock"),
                 QByteArray("\xE4\xD1\xFF"));
        QVERIFY2(f.paneText().startsWith(write + "\r\n") && f.paneText().endsWith("Avrdude done.  Thank you.\n"),
                 qPrintable(f.paneText()));
        for (int i = 0; i < 32; ++i)
            w.chkFuse(i)->setChecked(false);
        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w),
                 QStringList({"SPIEN", "EESAVE", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL1", "CKSEL0"}));

        w.cmdCalRD_Click();
        QCOMPARE(calibrationBoxes(f), QStringList({"0xA5", "0x9F", "0x9D", "0xA0"}));
        QVERIFY2(f.paneText().startsWith(w.strCommand.text + "Reading calibration memory ..."),
                 qPrintable(f.paneText()));

        const QByteArray image = patternBytes(3000, 5);
        const QString hex = f.folder() + "/app.hex";
        QVERIFY(writeBytes(hex, toIntelHex(image)));
        programImage(f, true, hex);
        QCOMPARE(bench.stateFile("flash.bin").left(image.size()), image);
        QCOMPARE(f.paneText().count("3000 bytes of flash verified"), 2);

        w.cmdRst_Click();
        QCOMPARE(w.strCommand.text, prefix + " -E reset");
        QCOMPARE(f.paneText(), prefix
                                   + " -E reset\r\nWarning: -E option not supported by this programmer type\n\n"
                                     "Avrdude done.  Thank you.\n");
        QCOMPARE(shownTexts(f.dialogs), QStringList({"确定进行熔丝位的写入？|提示"}));
    }

    void wrongOrMissingChipIsRefusedWith81sSignature_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("message");
        QTest::newRow("ATmega8 for an ATmega16") << "m8"
                                                 << "ATmega16"
                                                 << "编程器或器件错误\r\nDevice signature=1E 93 07|错误";
        QTest::newRow("empty socket") << "none"
                                      << "ATmega8"
                                      << "编程器或器件错误\r\nDevice signature=00 00 00|错误";
    }
    void wrongOrMissingChipIsRefusedWith81sSignature()
    {
        QFETCH(QString, chip);
        QFETCH(QString, device);
        QFETCH(QString, message);
        Speaking81 speaking;
        SimBench bench(chip);
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll(device, "avr910", "com1");
        bench.window().cmdFuseRD_Click();
        bench.window().cmdFrun_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList(2, message));
        QVERIFY2(f.paneText().startsWith(bench.window().strCommand.text + "\r\nWarning: -E option"),
                 qPrintable(f.paneText()));
        QCOMPARE(bench.stateFile("flash.bin").count(char(0xFF)), bench.stateFile("flash.bin").size());
    }
};

FW_APP_TEST_MAIN(E2eAvrdude8)
#include "e2e_avrdude8.moc"
