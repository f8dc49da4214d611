// End to end: fuse and lock read and write, clock presets and calibration
// bytes through the real avrdude and the virtual chip.

#include "app_test_main.h"
#include "sim_bench.h"
#include "tool_hook.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
const QString avrdudeDone = QStringLiteral("avrdude done.  Thank you.");

QStringList exchangeFilesLeft(WindowFixture &f)
{
    return QDir(f.toolsFolder()).entryList({"fuse.bin", "lfuse.bin", "hfuse.bin", "lock.bin"}, QDir::AllEntries);
}

QByteArray chipFuses(const SimBench &b)
{
    return b.stateFile("lfuse") + b.stateFile("hfuse") + b.stateFile("lock");
}

// The virtual chip on avr910/com1 with the device chosen; with removedAfter
// the socket is emptied after that many runs (run 1 asks the tool's version).
struct FuseBench {
    FuseBench(const QString &chip, const QString &device, int removedAfter = 0) : bench(chip)
    {
        ready = bench.ready();
        if (ready && removedAfter) {
            // From then on the tool is sent to a second simulator with no chip
            // (the wrapper has read the port of run `removedAfter` by the time the hook runs).
            const QString tools = f.toolsFolder();
            ready = empty.start(tools + "/empty-port", {"--chip", "none"});
            hook = std::make_unique<ToolHook>(removedAfter, "cp '" + QFile::encodeName(tools) + "/empty-port' '"
                                                                + QFile::encodeName(tools) + "/sim-port'");
        }
        if (ready)
            f.chooseAll(device, "avr910", "com1");
    }
    SimBench bench;
    SimProcess empty;
    std::unique_ptr<ToolHook> hook;
    WindowFixture &f = bench.fixture();
    frmMain &w = bench.window();
    bool ready = false;
};
} // namespace

#define REQUIRE_FUSE_BENCH(b) QVERIFY2((b).ready, qPrintable((b).bench.whyNotReady()))

class E2eFuses : public QObject {
    Q_OBJECT
private slots:
    void readPresetWriteAndReadAgainOnAnAtmega8()
    {
        FuseBench b("m8", "ATmega8");
        REQUIRE_FUSE_BENCH(b);
        auto [bench, f, w] = std::tie(b.bench, b.f, b.w);
        bench.setStateFile("lfuse", "\xE4"); // internal RC 8 MHz
        const QString prefix =
            f.toolsFolder() + "/avrdude -p m8 -C " + f.toolsFolder() + "/avrdude.conf -c avr910 -P /dev/ttyS0";
        const QString tools = f.toolsFolder();

        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL1", "CKSEL0"}));
        QCOMPARE(w.strCommand.text, prefix + " -U lock:r:\"" + tools + "/fuse.bin\":r");
        QVERIFY2(!f.paneText().startsWith(prefix) && f.paneText().count(avrdudeDone) == 3, qPrintable(f.paneText()));

        f.choose("cmbOsc", "内部RC 1MHz");
        for (int box : {13, 20, 25}) // BtLk01, EESAVE, BODEN
            w.chkFuse(box)->setChecked(true);
        f.dialogs.answers.enqueue(MessageAnswer::Cancel);
        w.cmdFuseWR_Click();
        QCOMPARE(chipFuses(bench), QByteArray("\xE4\xD9\xFF"));
        f.dialogs.answers.enqueue(MessageAnswer::Ok);
        w.cmdFuseWR_Click();
        QCOMPARE(chipFuses(bench), QByteArray("\xA1\xD1\xFB"));
        const QString line = prefix + " -U lfuse:w:\"" + tools + "/lfuse.bin\":r -U hfuse:w:\"" + tools
                             + "/hfuse.bin\":r -U lock:w:\"" + tools + "/lock.bin\":r";
        QCOMPARE(w.strCommand.text, line);
        QVERIFY(f.paneText().startsWith(line + "\r\n") && f.paneText().contains(avrdudeDone));
        QCOMPARE(shownTexts(f.dialogs),
                 QStringList({"确定进行熔丝位的写入？|提示", "熔丝位烧写已取消|提示", "确定进行熔丝位的写入？|提示"}));
        QCOMPARE(f.dialogs.messages[0].buttons, MessageButtons::OkCancel);
        QCOMPARE(f.dialogs.messages[1].icon, MessageIcon::Warning);

        for (int i = 0; i < 32; ++i)
            w.chkFuse(i)->setChecked(i < 8); // boxes 0 to 7 are left alone
        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w).mid(8), QStringList({"BtLk01", "SPIEN", "EESAVE", "BTSIZ1", "BTSIZ0", "BODEN", "SUT0",
                                                      "CKSEL3", "CKSEL2", "CKSEL1"}));
        QCOMPARE(tickedLabels(w).size(), 18);
        QCOMPARE(f.dialogs.messages.size(), 3);

        w.cmdCalRD_Click();
        QCOMPARE(calibrationBoxes(f), QStringList({"0xA5", "0x9F", "0x9D", "0xA0"}));
        QCOMPARE(w.strCalOp.text, " -U calibration:r:\"" + tools + "/fuse.bin\":r");
        QCOMPARE(w.strCommand.text, prefix + w.strCalOp.text + " -F");
        QVERIFY2(f.paneText().startsWith(w.strCommand.text + "\navrdude"), qPrintable(f.paneText()));
        bench.setStateFile("calibration", QByteArray("\x08\x00\x7F\x10", 4));
        w.cmdCalRD_Click();
        QCOMPARE(calibrationBoxes(f), QStringList({"0x8", "0x0", "0x7F", "0x10"}));
        QCOMPARE(f.dialogs.messages.size(), 3);
        QCOMPARE(exchangeFilesLeft(f), QStringList());
    }

    void atmega16ReadsButDoesNotWrite()
    {
        FuseBench b("m16", "ATmega8"); // the wrong chip first
        REQUIRE_FUSE_BENCH(b);
        auto [bench, f, w] = std::tie(b.bench, b.f, b.w);
        bench.setStateFile("hfuse", "\xD9");
        f.find<QLineEdit>("txtCal8")->setText("0x1");
        w.cmdFuseRD_Click();
        w.cmdFuseWR_Click();
        w.cmdCalRD_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList(3, "编程器或器件错误\r\nDevice signature=0x1e9403|错误"));
        QCOMPARE(f.find<QLineEdit>("txtCal8")->text(), QString());
        QCOMPARE(exchangeFilesLeft(f), QStringList());
        f.dialogs.clear();

        f.choose("cmbDevice", "ATmega16");
        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        const QString hfuseLine = f.toolsFolder() + "/avrdude -p m16 -C " + f.toolsFolder()
                                  + "/avrdude.conf -c avr910 -P /dev/ttyS0 -U hfuse:r:\"" + f.toolsFolder()
                                  + "/fuse.bin\":r -F";
        QVERIFY2(f.paneText().startsWith(hfuseLine + "\navrdude") && f.paneText().count(avrdudeDone) == 3,
                 qPrintable(f.paneText()));

        f.choose("cmbOsc", "外部频率源"); // no preset for this chip
        QCOMPARE(tickedLabels(w).size(), 7);
        w.cmdFuseWR_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList({"确定进行熔丝位的写入？|提示", "目前还不支持|Fusewright"}));
        QVERIFY(w.strCommand.text.endsWith(" -E reset"));
        QCOMPARE(chipFuses(bench), QByteArray("\xE1\xD9\xFF"));
        QCOMPARE(exchangeFilesLeft(f), QStringList());
    }

    void chipMissingAtTheHighFuseRun_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ATmega8") << "m8"
                                 << "ATmega8"
                                 << "编程器或器件错误\r\nDevice signature=0x000000|错误";
        QTest::newRow("ATmega16") << "m16"
                                  << "ATmega16"
                                  << "编程器或器件错误|提示";
    }
    void chipMissingAtTheHighFuseRun()
    {
        QFETCH(QString, chip);
        QFETCH(QString, device);
        QFETCH(QString, shown);
        FuseBench b(chip, device, 2);
        REQUIRE_FUSE_BENCH(b);
        auto [f, w] = std::tie(b.f, b.w);
        w.chkFuse(20)->setChecked(true);
        w.cmdFuseRD_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList({shown}));
        // The high-fuse line stays, the tool's text follows it, then the hint.
        QVERIFY(w.strCommand.text.endsWith("hfuse:r:\"" + f.toolsFolder() + "/fuse.bin\":r -F"));
        QVERIFY2(f.paneText().startsWith(w.strCommand.text + "\r\n") && f.paneText().contains("signature = 0x000000")
                     && f.paneText().endsWith(avrdudeDone
                                              + "\n\n\r\n提示：读到的特征码全为 00："
                                                "芯片没有通电或没有接上，请检查芯片的电源和连线"),
                 qPrintable(f.paneText()));
        QCOMPARE(tickedLabels(w), QStringList({"EESAVE"}));
        // The forced run stored the empty socket's byte; a later run removes it first.
        QCOMPARE(exchangeFilesLeft(f), QStringList({"fuse.bin"}));
    }

    void byteMissingAfterTheHighFuseRunIsNoAnswer()
    {
        FuseBench b("m8", "ATmega8", 3);
        REQUIRE_FUSE_BENCH(b);
        auto [f, w] = std::tie(b.f, b.w);
        for (int i = 0; i < 32; ++i)
            w.chkFuse(i)->setChecked(true);
        QFile leftover(f.toolsFolder() + "/fuse.bin"); // an earlier operation's byte
        QVERIFY(leftover.open(QIODevice::WriteOnly) && leftover.write("\x12") == 1);
        leftover.close();
        w.cmdFuseRD_Click();
        QCOMPARE(shownTexts(f.dialogs), QStringList({"器件无响应|错误"}));
        QCOMPARE(tickedLabels(w), QStringList());
        QVERIFY2(f.paneText().count(avrdudeDone) == 2 && f.paneText().contains("0x000000")
                     && !f.paneText().contains(" -U "),
                 qPrintable(f.paneText()));
        QCOMPARE(exchangeFilesLeft(f), QStringList());
    }

    void toolsFolderProblemsStopBeforeTheTool()
    {
        FuseBench b("m8", "ATmega8");
        REQUIRE_FUSE_BENCH(b);
        auto [bench, f, w] = std::tie(b.bench, b.f, b.w);
        const QString tools = f.toolsFolder();
        // Entries that cannot be removed or written as files (root ignores a read-only folder).
        QDir(tools).mkpath("fuse.bin/x");
        w.cmdFuseRD_Click();
        w.cmdCalRD_Click();
        QCOMPARE(w.strCommand.text, QString());
        QDir(tools + "/fuse.bin").removeRecursively();
        QDir(tools).mkdir("hfuse.bin");
        w.cmdFuseWR_Click();
        QVERIFY(w.strCommand.text.endsWith(" -E reset"));
        QCOMPARE(exchangeFilesLeft(f), QStringList({"hfuse.bin"}));
        QFile::remove(tools + "/avrdude");
        w.cmdFuseRD_Click();
        QDir(tools).removeRecursively();
        w.cmdFuseWR_Click();
        w.cmdCalRD_Click();
        QCOMPARE(chipFuses(bench), QByteArray("\xE1\xD9\xFF"));

        const QString noStart = "无法建立新进程，错误码：2|Fusewright";
        const QString mismatch = "编程器或器件错误\r\nDevice signature=|错误";
        QStringList shown = shownTexts(f.dialogs);
        QCOMPARE(shown.size(), 10);
        QVERIFY(shown[0].startsWith("无法删除文件：" + tools + "/fuse.bin\r\n") && shown[0].endsWith("|错误"));
        QCOMPARE(shown[1], shown[0]);
        QCOMPARE(shown[2], "确定进行熔丝位的写入？|提示");
        QVERIFY(shown[3].startsWith("无法删除文件：" + tools + "/hfuse.bin\r\n") && shown[3].size() > 50);
        QCOMPARE(shown.mid(4), QStringList({noStart, mismatch, noStart, mismatch, noStart, mismatch}));
        QVERIFY(!QDir(tools).exists());
    }

    // The user keeps working while the probe runs (slowed to a second here):
    // the run still takes the bytes, selections and command lines of the moment
    // its button was pressed; the changes apply to the next operation.
    void choicesDuringTheProbeChangeNothingOfTheRun()
    {
        FuseBench b("m8", "ATmega8");
        REQUIRE_FUSE_BENCH(b);
        SimBench &bench = b.bench;
        WindowFixture &f = b.f;
        frmMain &w = b.w;
        w.cmdFuseRD_Click(); // the factory chip; the tool's version is known from here on
        f.choose("cmbOsc", "内部RC 8MHz");
        const ToolHook slowProbes(0, "case \"$*\" in *reset*) sleep 1;; esac");
        const auto duringTheProbe = [&](const std::function<void()> &change) { QTimer::singleShot(400, &w, change); };

        duringTheProbe([&] { f.choose("cmbDevice", "ATmega8"); }); // clears the panel
        f.dialogs.answers.enqueue(MessageAnswer::Ok);
        w.cmdFuseWR_Click();
        QCOMPARE(chipFuses(bench), QByteArray("\xE4\xD9\xFF"));
        QCOMPARE(shownTexts(f.dialogs), QStringList({"确定进行熔丝位的写入？|提示"}));
        QCOMPARE(tickedLabels(w), QStringList());

        bench.setStateFile("lfuse", "\xE1");
        duringTheProbe([&] {
            f.choose("cmbPort", "com2");
            f.choose("cmbDevice", "ATmega8");
        });
        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        QVERIFY2(w.strCommand.text.contains(" -P /dev/ttyS0 -U lock:r:"), qPrintable(w.strCommand.text));
        QCOMPARE(f.paneText().count(avrdudeDone), 3);

        // Another chip chosen meanwhile: its relabelled, cleared panel stays as the choice left it.
        duringTheProbe([&] { f.choose("cmbDevice", "ATmega16"); });
        w.cmdFuseRD_Click();
        QCOMPARE(tickedLabels(w), QStringList());
        QVERIFY(w.strCommand.text.contains(" -p m8 ") && w.strCommand.text.contains(" -P /dev/ttyS1 "));
        QCOMPARE(shownTexts(f.dialogs).size(), 1);
        QCOMPARE(exchangeFilesLeft(f), QStringList());
    }

    void presetNeedsADevice()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.choose("cmbOsc", "外部频率源");
        QCOMPARE(shownTexts(f.dialogs), QStringList({"请选择器件型号|错误"}));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(tickedLabels(w), QStringList());
    }

    void closingDuringARunRemovesTheExchangeFiles_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("fuse read") << "cmdFuseRD";
        QTest::newRow("fuse write") << "cmdFuseWR";
        QTest::newRow("calibration read") << "cmdCalRD";
    }
    void closingDuringARunRemovesTheExchangeFiles()
    {
        QFETCH(QString, button);
        WindowFixture f;
        f.installFakeTool("case \"$*\" in *reset) echo 'device signature = 0x1e9307'; exit;; "
                          "*/fuse.bin*) echo 1 > \"$(dirname \"$0\")/fuse.bin\";; esac; while :; do sleep 0.1; done");
        frmMain &w = f.open();
        w.show();
        f.chooseAll("ATmega8", "usbasp", "usb");
        QTimer::singleShot(500, &w, [&] { w.close(); });
        QMetaObject::invokeMethod(&w, qPrintable(button + "_Click"));
        QVERIFY(f.operationButtonsEnabled());
        QVERIFY(f.dialogs.messages.size() <= 1); // the write's question
        QCOMPARE(exchangeFilesLeft(f), QStringList());
    }
};

FW_APP_TEST_MAIN(E2eFuses)
#include "e2e_fuses.moc"
