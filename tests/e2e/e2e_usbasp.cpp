// End to end with "usbasp" on "usb": the real avrdude 7.1, alone or behind
// the 8.1 stand-in, drives the virtual USBasp through the preload library.

#include "app_test_main.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "sim_bench.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

#include <optional>

namespace {
const QString socketOption = QStringLiteral("--socket");
const QString socketPath = QStringLiteral("<tools>/sim-socket");

struct Speaking81 {
    Speaking81() { qputenv("FUSEWRIGHT_REAL_AVRDUDE", FW_AVRDUDE81_STANDIN); }
    ~Speaking81() { qunsetenv("FUSEWRIGHT_REAL_AVRDUDE"); }
};

void addDialects()
{
    QTest::addColumn<bool>("dialect81");
    QTest::newRow("7.1") << false;
    QTest::newRow("8.1") << true;
}

} // namespace

class E2eUsbasp : public QObject {
    Q_OBJECT
private slots:
    void everyOperation_data() { addDialects(); }
    void everyOperation()
    {
        QFETCH(bool, dialect81);
        std::optional<Speaking81> speaking;
        if (dialect81)
            speaking.emplace();
        SimBench bench("m8", {socketOption, socketPath});
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll("ATmega8", "usbasp", "usb");
        const QString tools = f.toolsFolder();
        const QString prefix = tools + "/avrdude -p m8 -C " + tools + "/avrdude.conf -c usbasp -P usb";
        const QString done = dialect81 ? "Avrdude done.  Thank you." : "avrdude done.  Thank you.";

        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        QCOMPARE(f.paneText().count(done), 3);

        f.choose("cmbOsc", "内部RC 8MHz");
        w.cmdFuseWR_Click();
        const QString write = prefix + " -U lfuse:w:\"" + tools + "/lfuse.bin\":r -U hfuse:w:\"" + tools
                              + "/hfuse.bin\":r -U lock:w:\"" + tools + "/lock.bin\":r";
        QCOMPARE(w.strCommand.text, write);
        QCOMPARE(bench.stateFile("lfuse") + bench.stateFile("hfuse") + bench.stateFile("lock"),
                 QByteArray("\xE4\xD9\xFF"));
        QVERIFY2(f.paneText().startsWith(write + "\r\n") && f.paneText().contains("1 byte of lfuse verified")
                     && f.paneText().endsWith(done + (dialect81 ? "\n" : "\n\n")),
                 qPrintable(f.paneText()));

        bench.setStateFile("calibration", QByteArray("\x08\x00\x7F\x10", 4));
        w.cmdCalRD_Click();
        QCOMPARE(calibrationBoxes(f), QStringList({"0x8", "0x0", "0x7F", "0x10"}));

        const QByteArray image = patternBytes(3000, 7), eeprom = patternBytes(512, 8);
        QVERIFY(writeBytes(f.folder() + "/app.hex", toIntelHex(image)) && writeBytes(f.folder() + "/ee.bin", eeprom));
        programImage(f, true, f.folder() + "/app.hex");
        QCOMPARE(bench.stateFile("flash.bin").left(image.size()), image);
        QCOMPARE(bench.stateFile("flash.bin").mid(image.size()), QByteArray(8192 - image.size(), char(0xFF)));
        QCOMPARE(f.paneText().count("3000 bytes of flash verified"), 2);
        programImage(f, false, f.folder() + "/ee.bin");
        QCOMPARE(bench.stateFile("eeprom.bin"), eeprom);
        QVERIFY2(f.paneText().contains("512 bytes of eeprom verified"), qPrintable(f.paneText()));

        w.cmdRst_Click();
        QCOMPARE(f.paneText(),
                 prefix + " -E reset\r\n"
                     + (dialect81 ? "Warning: -E option not supported by this programmer type\n\n" + done + "\n"
                                  : "avrdude warning: -E option not supported by this programmer type\n\n"
                                    "avrdude: AVR device initialized and ready to accept instructions\n"
                                    "avrdude: device signature = 0x1e9307 (probably m8)\n\n"
                                        + done + "\n\n"));
        QCOMPARE(shownTexts(f.dialogs), QStringList({"确定进行熔丝位的写入？|提示"}));
    }

    void failures_data()
    {
        QTest::addColumn<bool>("dialect81");
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("hints"); // what follows the tool's text
        const QStringList plugged{socketOption, socketPath};
        const QString cable = "\r\n提示：找不到 USBasp：请检查 USB 线是否插好，或换一个 USB 口再试";
        const QString wiring = "\r\n提示：芯片没有应答：请检查编程器与芯片之间的连线，并确认芯片已通电\r\n"
                               "提示：芯片时钟很慢（如 128 kHz）时，请短接 USBasp 的慢速时钟跳线（JP3）后重试";
        const QString mismatch = "编程器或器件错误\r\nDevice signature=|错误";
        const QString notFound =
            "cannot find USB device with vid=0x16c0 pid=0x5dc vendor='www.fischl.de' product='USBasp'";
        for (bool d81 : {false, true}) {
            const QString error = d81 ? "Error: " : "avrdude error: ";
            const QString warning = d81 ? "Warning: " : "avrdude warning: ";
            const char *v = d81 ? "8.1: " : "7.1: ";
            QTest::newRow(QByteArray(v) + "unplugged")
                << d81 << "m8" << QStringList() << mismatch << error + notFound << cable;
            QTest::newRow(QByteArray(v) + "absent")
                << d81 << "m8" << plugged + QStringList{"--usbasp", "absent"} << mismatch << error + notFound << cable;
            QTest::newRow(QByteArray(v) + "not accessible")
                << d81 << "m8" << plugged + QStringList{"--usbasp", "no-access"} << mismatch
                << warning
                       + (d81 ? "cannot open USB device: Permission denied"
                              : "cannot query manufacturer for device: error sending control message: Operation not "
                                "permitted")
                << "\r\n提示：USBasp 已连接但无权访问：请安装 udev "
                   "规则（安装本程序的软件包即会装好），再重新插拔编程器";
            QTest::newRow(QByteArray(v) + "no target")
                << d81 << "none" << plugged << mismatch << error + "program enable: target does not answer (0x01)"
                << wiring;
            QTest::newRow(QByteArray(v) + "wrong chip")
                << d81 << "m16" << plugged
                << QString(d81 ? "编程器或器件错误\r\nDevice signature=1E 94 03|错误"
                               : "编程器或器件错误\r\nDevice signature=0x1e9403|错误")
                << error + "expected signature for ATmega8 is 1E 93 07"
                << "\r\n提示：芯片的特征码是 1E 94 03（ATmega16），与所选器件不符："
                   "请在“器件选择”中选对型号，或换上所选的芯片";
        }
    }
    void failures()
    {
        QFETCH(bool, dialect81);
        QFETCH(QString, chip);
        QFETCH(QStringList, options);
        QFETCH(QString, shown);
        QFETCH(QString, words);
        QFETCH(QString, hints);
        std::optional<Speaking81> speaking;
        if (dialect81)
            speaking.emplace();
        SimBench bench(chip, options);
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll("ATmega8", "usbasp", "usb");
        QString paneAtBox;
        f.dialogs.whenShown = [&] { paneAtBox = f.paneText(); };
        bench.window().cmdFuseRD_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList{shown});
        // The box shows over the probe's text as ever; the hints follow once it is closed.
        QVERIFY2(paneAtBox.startsWith(bench.window().strCommand.text + "\r\n") && paneAtBox.contains(words)
                     && paneAtBox.contains("Thank you.\n"),
                 qPrintable(paneAtBox));
        QCOMPARE(f.paneText(), paneAtBox + hints);
        QCOMPARE(tickedLabels(bench.window()), QStringList());
    }

    void oldFirmwareStillReadsTheFuses_data() { addDialects(); }
    void oldFirmwareStillReadsTheFuses()
    {
        QFETCH(bool, dialect81);
        std::optional<Speaking81> speaking;
        if (dialect81)
            speaking.emplace();
        SimBench bench("m8", {socketOption, socketPath, "--usbasp", "old-firmware"});
        REQUIRE_BENCH(bench);
        bench.fixture().chooseAll("ATmega8", "usbasp", "usb");
        bench.window().cmdFuseRD_Click();
        QCOMPARE(tickedLabels(bench.window()),
                 QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        QCOMPARE(bench.fixture().paneText().count("cannot set sck period; please check for usbasp firmware update"), 3);
        QCOMPARE(shownTexts(bench.fixture().dialogs), QStringList());
    }
};

FW_APP_TEST_MAIN(E2eUsbasp)
#include "e2e_usbasp.moc"
