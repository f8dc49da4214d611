// Faults in the middle of an operation, through the real avrdude and the
// virtual programmer: avrdude killed during its run, the programmer gone
// between the signature probe and the main command. Each case checks what
// the user sees, what reached the chip, and that nothing is left behind.

#include "app_test_main.h"
#include "process_probe.h"
#include "sim_bench.h"
#include "tool_hook.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace {
// Neither running nor a zombie: the process is gone and collected.
bool goneAndCollected(qint64 pid)
{
    siginfo_t info{};
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0
           && errno == ECHILD;
}

QStringList exchangeFilesLeft(WindowFixture &f)
{
    return QDir(f.toolsFolder()).entryList({QStringLiteral("*.bin")}, QDir::Files);
}

QStringList messageTexts(const WindowFixture &f)
{
    QStringList texts;
    for (const ShownMessage &m : f.dialogs.messages)
        texts << m.text;
    return texts;
}

int tickedBoxes(frmMain &w)
{
    int n = 0;
    for (int i = 0; i < 32; ++i)
        n += w.chkFuse(i)->isChecked();
    return n;
}

QByteArray testImage()
{
    QByteArray image(6000, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7 + i / 256);
    return image;
}
} // namespace

class TstFaultsMidrun : public QObject {
    Q_OBJECT
private slots:
    void faultDuringAnOperation_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("run"); // the avrdude run that meets the fault: 1 asks the version, 2 is the probe
        QTest::addColumn<QByteArray>("fault"); // shell run just before it starts
        QTest::addColumn<QStringList>("messages");
        const QByteArray killAvrdude = ToolHook::killThisRunAfter("0.15");
        // The unplugged programmer's device node goes with it: the run opens a
        // port that does not exist. (The killed simulator's pseudo-terminal
        // number is free again and may already serve a test running alongside.)
        const QByteArray killProgrammer =
            "kill -KILL $FW_SIM_PID; sleep 0.1\n"
            "n=$#; p=; while [ $n -gt 0 ]; do a=$1; shift; n=$((n - 1));"
            " [ \"$p\" = -P ] && a=/dev/fusewright-unplugged; p=$a; set -- \"$@\" \"$a\"; done";
        const QStringList noAnswer{QStringLiteral("器件无响应")};
        const QStringList question{QStringLiteral("确定进行熔丝位的写入？")};
        // The fuse read's runs: version, probe, high fuse, low fuse, lock.
        QTest::newRow("avrdude killed, fuse read") << "cmdFuseRD" << 4 << killAvrdude << noAnswer;
        QTest::newRow("avrdude killed, fuse write") << "cmdFuseWR" << 3 << killAvrdude << question;
        QTest::newRow("avrdude killed, Flash program")
            << "cmdFrun" << 3 << ToolHook::killThisRunAfter("0.8") << QStringList();
        QTest::newRow("programmer gone, fuse read") << "cmdFuseRD" << 5 << killProgrammer << noAnswer;
        QTest::newRow("programmer gone, fuse write") << "cmdFuseWR" << 3 << killProgrammer << question;
        QTest::newRow("programmer gone, calibration") << "cmdCalRD" << 3 << killProgrammer << QStringList();
        QTest::newRow("programmer gone, Flash program") << "cmdFrun" << 3 << killProgrammer << QStringList();
    }
    void faultDuringAnOperation()
    {
        QFETCH(QString, button);
        QFETCH(int, run);
        QFETCH(QByteArray, fault);
        QFETCH(QStringList, messages);
        // A classic programmer makes the Flash transfer last seconds, long
        // enough to be killed in the middle of it.
        SimBench bench(QStringLiteral("m8"), {QStringLiteral("--block"), QStringLiteral("0")});
        REQUIRE_BENCH(bench);
        qputenv("FW_SIM_PID", QByteArray::number(bench.simulator().pid()));
        ToolHook hook(run, fault);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QString image = f.folder() + QStringLiteral("/image.bin");
        QFile out(image);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(testImage()) > 0);
        out.close();
        f.dialogs.files.enqueue(image);
        w.cmdFlash_Click();
        w.chkFuse(2)->setChecked(true); // something to write
        f.find<QLineEdit>("txtCal1")->setText(QStringLiteral("0x55"));
        const QByteArray fusesBefore =
            bench.stateFile(QStringLiteral("lfuse")) + bench.stateFile(QStringLiteral("hfuse"));
        const int descriptors = fw_test::openDescriptorCount();

        QVERIFY(QMetaObject::invokeMethod(&w, qPrintable(button + QStringLiteral("_Click"))));

        QCOMPARE(hook.runs(), run);
        QVERIFY(goneAndCollected(hook.lastPid()));
        // Fewer when the simulator's own pipes to this test closed with it.
        QVERIFY(fw_test::openDescriptorCount() <= descriptors);
        QVERIFY(f.operationButtonsEnabled());
        QVERIFY(f.find<QWidget>(qPrintable(button))->isEnabled());
        QCOMPARE(messageTexts(f), messages);
        QCOMPARE(exchangeFilesLeft(f), QStringList());
        // No byte that did not come from the chip is ever shown or written.
        if (button == QStringLiteral("cmdFuseRD"))
            QCOMPARE(tickedBoxes(w), 0);
        if (button == QStringLiteral("cmdCalRD"))
            QCOMPARE(f.find<QLineEdit>("txtCal1")->text(), QString());
        QCOMPARE(bench.stateFile(QStringLiteral("lfuse")) + bench.stateFile(QStringLiteral("hfuse")), fusesBefore);
        // The pane shows the command and what the tool said before it ended.
        if (button != QStringLiteral("cmdFuseRD")) {
            QVERIFY(f.paneText().startsWith(w.strCommand.text));
            QCOMPARE(f.paneText().contains(QStringLiteral("/dev/fusewright-unplugged")), fault.contains("unplugged"));
        }
        qunsetenv("FW_SIM_PID");
    }
};

FW_APP_TEST_MAIN(TstFaultsMidrun)
#include "tst_faults_midrun.moc"
