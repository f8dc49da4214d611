// A programmer lost in the middle of a 16 KiB Flash program, through the
// window and the real avrdude: the USBasp pulled out, the AVR910's serial
// line hung up. And the program ended while its avrdude runs: the tool must
// not outlive it.

#include "app_test_main.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "runner/command_runner.h"
#include "sim_bench.h"
#include "tool_hook.h"

#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>

#include <csignal>

namespace {
constexpr int flashSize = 16384;
const QString lostWriting = QStringLiteral("线是否插好，然后重新执行这项操作；Flash 或 EEPROM 可能只写入了一部分");

// Running, not a zombie.
bool alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return pid > 0 && stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

// Programs a 16 KiB image into the ATmega16 through the window; returns it.
QByteArray programFullImage(SimBench &bench, const QString &programmer, const QString &port)
{
    WindowFixture &f = bench.fixture();
    f.chooseAll(QStringLiteral("ATmega16"), programmer, port);
    const QByteArray image = patternBytes(flashSize, 16);
    const QString hex = f.folder() + QStringLiteral("/m16-full.hex");
    writeBytes(hex, toIntelHex(image));
    programImage(f, true, hex);
    return image;
}

// Erased, then written up to page 64 of 128.
bool halfWritten(SimBench &bench, const QByteArray &image)
{
    const QByteArray flash = bench.stateFile(QStringLiteral("flash.bin"));
    return flash.left(flashSize / 2) == image.left(flashSize / 2)
           && flash.mid(flashSize / 2) == QByteArray(flashSize / 2, char(0xFF));
}

struct SilenceLimit {
    explicit SilenceLimit(int ms) { CommandRunner::setSilenceLimitMs(ms); }
    ~SilenceLimit() { CommandRunner::setSilenceLimitMs(CommandRunner::defaultSilenceLimitMs); }
};
} // namespace

class TstProgrammerLost : public QObject {
    Q_OBJECT
private slots:
    void usbaspPulledOutThenBack()
    {
        // The probe takes 12 transfers, the main run 16 before its first
        // page; each page is an address and a write: gone after page 64.
        SimBench bench(QStringLiteral("m16"), {QStringLiteral("--socket"), QStringLiteral("<tools>/sim-socket"),
                                               QStringLiteral("--usbasp-vanish-after"), QStringLiteral("156")});
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        const QByteArray image = programFullImage(bench, QStringLiteral("usbasp"), QStringLiteral("usb"));
        QString pane = f.paneText();
        // 7.1 says "16384 bytes of flash written" all the same.
        QVERIFY2(pane.contains(QStringLiteral("error sending control message: No such device"))
                     && pane.endsWith(QStringLiteral("Thank you.\n\n\r\n提示：操作中途与编程器失去了连接：请检查 USB ")
                                      + lostWriting),
                 qPrintable(pane.right(2000)));
        QVERIFY(halfWritten(bench, image));
        QVERIFY(f.find<QPushButton>("cmdFrun")->isEnabled());
        QCOMPARE(shownTexts(f.dialogs), QStringList());

        // Plugged in again: the next program and verify go through.
        programImage(f, true, f.folder() + QStringLiteral("/m16-full.hex"));
        pane = f.paneText();
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), image);
        QVERIFY2(pane.count(QStringLiteral("16384 bytes of flash verified")) == 2
                     && !pane.contains(QStringLiteral("提示：")),
                 qPrintable(pane.right(2000)));
        QVERIFY(f.find<QPushButton>("cmdFrun")->isEnabled());
    }

    void avr910HangsUp()
    {
        const SilenceLimit limit(3000);
        // The probe and the main run take 11 commands each before the first
        // block; each block is an address and a write: the line hangs up
        // after block 64, before answering it.
        SimBench bench(QStringLiteral("m16"), {QStringLiteral("--avr910-hangup-after"), QStringLiteral("150")});
        REQUIRE_BENCH(bench);
        ToolHook hook(0, ":");
        const QByteArray image = programFullImage(bench, QStringLiteral("avr910"), QStringLiteral("com1"));
        const QString pane = bench.fixture().paneText();
        QVERIFY2(pane.contains(QStringLiteral("Writing | ###"))
                     && pane.endsWith(QStringLiteral("\r\n\r\n提示：avrdude 已有 3 秒没有任何输出，本程序已将它停止\r\n"
                                                     "提示：操作中途与编程器失去了连接：请检查串口")
                                      + lostWriting),
                 qPrintable(pane.right(2000)));
        QVERIFY(!alive(hook.lastPid()));
        QVERIFY(halfWritten(bench, image));
        QVERIFY(bench.fixture().find<QPushButton>("cmdFrun")->isEnabled());
        QCOMPARE(shownTexts(bench.fixture().dialogs), QStringList());
    }

    // The real program, made to read the fuses from a programmer whose line
    // hangs up, is ended while its avrdude spins.
    void noToolOutlivesTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("terminated") << SIGTERM;
        QTest::newRow("hung up at logout") << SIGHUP;
        QTest::newRow("crashed") << SIGKILL;
    }
    void noToolOutlivesTheProgram()
    {
        QFETCH(int, signal);
        QTemporaryDir folder, runtime;
        const QString program = folder.filePath(QStringLiteral("fusewright"));
        const QString tools = folder.filePath(QStringLiteral("tools"));
        QVERIFY(QFile::copy(QStringLiteral(FUSEWRIGHT_EXE), program) && QDir().mkdir(tools)
                && QFile::link(simWrapper(), tools + QStringLiteral("/avrdude"))
                && QFile::link(avrdudeConf(), tools + QStringLiteral("/avrdude.conf")));
        // The line hangs up at the probe's first command: avrdude then spins
        // without a word, so no write to a broken pipe can end it either.
        const QString log = folder.filePath(QStringLiteral("sim.log"));
        SimProcess sim;
        QVERIFY2(sim.start(tools + QStringLiteral("/sim-port"), {QStringLiteral("--avr910-hangup-after"),
                                                                 QStringLiteral("1"), QStringLiteral("--log"), log}),
                 qPrintable(sim.errorText()));
        ToolHook hook(0, ":");

        QProcess window;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path()); // an instance lock of its own
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FW_WINDOW_DRIVER));
        env.insert(QStringLiteral("FW_DRIVE"), QStringLiteral("ATmega8,avr910,com1,cmdFuseRD"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
        window.setProcessEnvironment(env);
        window.start(program, {});
        QVERIFY(window.waitForStarted(10000));
        // Run 1 asks the tool's version; run 2 is the probe.
        QTRY_VERIFY_WITH_TIMEOUT(readBytes(log).contains("hanging up"), 30000);
        QCOMPARE(hook.runs(), 2);
        const qint64 tool = hook.lastPid();
        QVERIFY(alive(tool));
        // A failed check leaves no orphan spinning behind.
        const auto orphan = qScopeGuard([tool] {
            if (alive(tool))
                ::kill(pid_t(tool), SIGKILL);
        });

        QCOMPARE(::kill(pid_t(window.processId()), signal), 0);
        QVERIFY(window.waitForFinished(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!alive(tool), 1000);
    }
};

FW_APP_TEST_MAIN(TstProgrammerLost)
#include "tst_programmer_lost.moc"
