// End to end with "pony-stk200" on "lpt1" (/dev/parport0): the program's own
// avrdude in the tools folder drives the virtual dongle, wired as the real
// one, through the parport preload library.

#include "app_test_main.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "recorded_output.h"
#include "sim_bench.h"
#include "sim_paths.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// The simulator's socket in the tools folder, avrdude there the program's own.
class PonyBench : public SimBench {
public:
    explicit PonyBench(const QString &chip, const QStringList &extra = {})
        : SimBench(chip, QStringList{QStringLiteral("--socket"), QStringLiteral("<tools>/sim-socket")} + extra)
    {
        fixture().linkTool(realAvrdude(), avrdudeConf());
        qputenv("LD_PRELOAD", FW_SIM_PARPORT_PRELOAD);
        qputenv("FUSEWRIGHT_SIM_SOCKET", QFile::encodeName(fixture().toolsFolder() + "/sim-socket"));
    }
    ~PonyBench()
    {
        qunsetenv("LD_PRELOAD");
        qunsetenv("FUSEWRIGHT_SIM_SOCKET");
    }
};

} // namespace

class E2ePonyStk200 : public QObject {
    Q_OBJECT
private slots:
    void everyOperation()
    {
        PonyBench bench("m8");
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll("ATmega8", "pony-stk200", "lpt1");
        const QString tools = f.toolsFolder();
        const QString prefix = tools + "/avrdude -p m8 -C " + tools + "/avrdude.conf -c pony-stk200 -P /dev/parport0";

        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        QCOMPARE(f.paneText().count("avrdude done.  Thank you."), 3);

        f.choose("cmbOsc", "内部RC 8MHz");
        w.cmdFuseWR_Click();
        QCOMPARE(bench.stateFile("lfuse") + bench.stateFile("hfuse") + bench.stateFile("lock"),
                 QByteArray("\xE4\xD9\xFF"));
        for (const char *part : {"lfuse", "hfuse", "lock"})
            QVERIFY2(f.paneText().contains(QString("1 byte of %1 verified").arg(part)), qPrintable(f.paneText()));

        bench.setStateFile("calibration", QByteArray("\x08\x00\x7F\x10", 4));
        w.cmdCalRD_Click();
        QCOMPARE(calibrationBoxes(f), QStringList({"0x8", "0x0", "0x7F", "0x10"}));

        const QByteArray image = patternBytes(3000, 11), eeprom = patternBytes(512, 12);
        QVERIFY(writeBytes(f.folder() + "/app.hex", toIntelHex(image)) && writeBytes(f.folder() + "/ee.bin", eeprom));
        programImage(f, true, f.folder() + "/app.hex");
        QCOMPARE(bench.stateFile("flash.bin"), image + QByteArray(8192 - image.size(), char(0xFF)));
        QCOMPARE(f.paneText().count("3000 bytes of flash verified"), 2);
        programImage(f, false, f.folder() + "/ee.bin");
        QCOMPARE(bench.stateFile("eeprom.bin"), eeprom);
        QVERIFY2(f.paneText().contains("512 bytes of eeprom verified"), qPrintable(f.paneText()));

        w.cmdRst_Click();
        QCOMPARE(f.paneText(), prefix + " -E reset\r\n" + recorded("pony-stk200/probe-7.1"));
        QCOMPARE(shownTexts(f.dialogs), QStringList({"确定进行熔丝位的写入？|提示"}));
    }

    // Each stops at the signature probe: the box, the probe's command line, the tool's own words and the hint.
    void refused_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("recording");
        QTest::addColumn<QString>("hint");
        const QString none = "编程器或器件错误\r\nDevice signature=|错误";
        QTest::newRow("wrong chip")
            << "ATmega16"
            << "m8" << QStringList() << "编程器或器件错误\r\nDevice signature=0x1e9307|错误"
            << "probe-m16-on-m8"
            << "芯片的特征码是 1E 93 07（ATmega8），与所选器件不符：请在“器件选择”中选对型号，或换上所选的芯片";
        QTest::newRow("outside group lp")
            << "ATmega8"
            << "m8" << QStringList{"--parport", "no-access"} << none << "probe-no-access"
            << "没有访问并口的权限：请把当前用户加入 lp 组（sudo usermod -aG lp $USER），然后重新登录";
        QTest::newRow("no chip") << "ATmega8"
                                 << "none" << QStringList() << none << "probe-none"
                                 << "芯片没有应答：请检查编程器与芯片之间的连线，并确认芯片已通电";
    }
    void refused()
    {
        QFETCH(QString, device);
        QFETCH(QString, chip);
        QFETCH(QStringList, options);
        QFETCH(QString, shown);
        QFETCH(QString, recording);
        QFETCH(QString, hint);
        PonyBench bench(chip, options);
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll(device, "pony-stk200", "lpt1");
        bench.window().cmdFuseRD_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList{shown});
        QCOMPARE(f.paneText(), bench.window().strCommand.text + "\r\n" + recorded("pony-stk200/" + recording + "-7.1")
                                   + "\r\n提示：" + hint);
        QCOMPARE(tickedLabels(bench.window()), QStringList());
    }
};

FW_APP_TEST_MAIN(E2ePonyStk200)
#include "e2e_pony_stk200.moc"
