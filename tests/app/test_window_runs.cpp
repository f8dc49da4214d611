// Running the tool from the window: the reset, the output pane, start
// failures, one operation at a time, and closing while a tool runs.

#include "app_test_main.h"
#include "window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <csignal>

namespace {
QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

const char *const operationButtons[] = {"cmdRst", "cmdFuseRD", "cmdFuseWR", "cmdCalRD", "cmdFrun", "cmdErun"};
} // namespace

class TestWindowRuns : public QObject {
    Q_OBJECT
private slots:
    void resetShowsCommandThenOutput()
    {
        WindowFixture f;
        f.installFakeTool(R"(for a in "$@"; do echo "[$a]"; done; echo "to stderr" >&2)");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        w.cmdRst_Click();

        const QString tool = f.folder() + QStringLiteral("/tools/avrdude");
        const QString conf = f.folder() + QStringLiteral("/tools/avrdude.conf");
        const QString line = tool + QStringLiteral(" -p m8 -C ") + conf + QStringLiteral(" -c usbasp -P usb -E reset");
        QCOMPARE(w.strCommand.text, line);
        QCOMPARE(f.paneText(), line + QStringLiteral("\r\n[-p]\n[m8]\n[-C]\n[") + conf
                                   + QStringLiteral("]\n[-c]\n[usbasp]\n[-P]\n[usb]\n[-E]\n[reset]\nto stderr\n"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void serialPortsReachTheToolByDeviceName()
    {
        WindowFixture f;
        f.installFakeTool(R"(echo "$8")");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega16"), QStringLiteral("avr910"), QStringLiteral("com1"));
        w.cmdRst_Click();
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral(" -p m16 -C ") + f.toolsFolder()
                                           + QStringLiteral("/avrdude.conf -c avr910 -P /dev/ttyS0 -E reset")));
        QVERIFY(f.paneText().endsWith(QStringLiteral("\r\n/dev/ttyS0\n")));
        QCOMPARE(w.strPort, QStringLiteral("com1"));
    }

    void missingSelectionsAreNamedInOrder()
    {
        WindowFixture f;
        f.installFakeTool("echo ran > \"$(dirname \"$0\")/ran\"");
        frmMain &w = f.open();
        f.choose("cmbPgr", QStringLiteral("usbasp"));
        f.choose("cmbPort", QStringLiteral("usb"));
        w.cmdRst_Click();
        w.cmdFrun_Click();
        f.choose("cmbDevice", QStringLiteral("ATmega8"));
        w.strProgrammer.clear();
        w.strPort.clear();
        w.cmdRst_Click();
        w.cmdFrun_Click();
        f.choose("cmbPgr", QStringLiteral("usbasp"));
        w.cmdRst_Click();
        w.cmdFrun_Click();

        // The reset speaks of a notice, the Flash run of an error.
        QCOMPARE(f.dialogs.messages.size(), 6);
        const QStringList texts = {"请选择器件|提示",       "请选择器件类型|错误", "请选择编程设备|提示",
                                   "请选择编程器类型|错误", "请选择端口|提示",     "请选择编程器所在端口|错误"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(f.dialogs.messages[i].text + "|" + f.dialogs.messages[i].title, texts[i]);
            QCOMPARE(f.dialogs.messages[i].icon, MessageIcon::Critical);
            QCOMPARE(f.dialogs.messages[i].buttons, MessageButtons::Ok);
        }
        QVERIFY(!QFile::exists(f.toolsFolder() + QStringLiteral("/ran")));
        QCOMPARE(f.paneText(), QStringLiteral(" "));
        QVERIFY(w.strCommand.isEmpty());
        for (const char *name : operationButtons)
            QVERIFY(f.find<QWidget>(name)->isEnabled());
    }

    void missingToolReportsErrorTwoAndPaneKeepsCommandOnly()
    {
        WindowFixture f; // no tools/avrdude at all
        frmMain &w = f.open();
        w.findChild<QWidget *>(QStringLiteral("txtOutput"));
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        w.cmdRst_Click();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("无法建立新进程，错误码：2"));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Fusewright"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::None);
        QCOMPARE(f.dialogs.messages[0].buttons, MessageButtons::Ok);
        QCOMPARE(f.paneText(), w.strCommand.text + QStringLiteral("\r\n"));
    }

    void nonExecutableToolReportsErrorThirteen()
    {
        WindowFixture f;
        f.installFakeTool("echo never");
        QFile::setPermissions(f.toolsFolder() + QStringLiteral("/avrdude"), QFile::ReadOwner | QFile::WriteOwner);
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        w.cmdRst_Click();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("无法建立新进程，错误码：13"));
        // A folder in the tool's place is refused alike.
        QVERIFY(QFile::remove(f.toolsFolder() + QStringLiteral("/avrdude")));
        QVERIFY(QDir(f.toolsFolder()).mkdir(QStringLiteral("avrdude")));
        w.cmdRst_Click();
        QCOMPARE(f.dialogs.messages.size(), 2);
        QCOMPARE(f.dialogs.messages[1].text, QStringLiteral("无法建立新进程，错误码：13"));
        QVERIFY(f.operationButtonsEnabled());
    }

    void silentToolLeavesCommandAndLineBreakWithoutMessage()
    {
        WindowFixture f;
        f.installFakeTool("exit 1");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        w.cmdRst_Click();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.paneText(), w.strCommand.text + QStringLiteral("\r\n"));
    }

    void newRunReplacesWhateverThePaneHeld()
    {
        WindowFixture f;
        f.installFakeTool("echo second");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        w.cmdRst_Click();
        w.cmdRst_Click();
        QCOMPARE(f.paneText(), w.strCommand.text + QStringLiteral("\r\nsecond\n"));
    }

    void oneOperationAtATime()
    {
        WindowFixture f;
        f.installFakeTool("echo run >> \"$(dirname \"$0\")/runs\"; sleep 1; echo done");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));

        QStringList enabledDuringRun;
        bool busyDuringRun = false;
        QList<Qt::CursorShape> pointersDuringRun; // over the window, the pane's text, a button
        const auto pointers = [&] {
            return QList{w.cursor().shape(), f.find<QPlainTextEdit>("txtOutput")->viewport()->cursor().shape(),
                         f.find<QWidget>("cmdRst")->cursor().shape()};
        };
        const QList<Qt::CursorShape> pointersBefore = pointers();
        QTimer::singleShot(300, &w, [&] {
            busyDuringRun = !f.operationButtonsEnabled();
            pointersDuringRun = pointers();
            for (const char *name : operationButtons)
                if (f.find<QWidget>(name)->isEnabled())
                    enabledDuringRun << QString::fromLatin1(name);
            // A second press while the tool runs starts nothing.
            w.cmdRst_Click();
            QTest::mouseClick(f.find<QPushButton>("cmdRst"), Qt::LeftButton);
        });
        w.cmdRst_Click();

        QVERIFY(busyDuringRun);
        QCOMPARE(pointersDuringRun, QList<Qt::CursorShape>(3, Qt::BusyCursor));
        QCOMPARE(pointers(), pointersBefore);
        QVERIFY(!pointersBefore.contains(Qt::BusyCursor));
        QVERIFY2(enabledDuringRun.isEmpty(), qPrintable(enabledDuringRun.join(',')));
        QCOMPARE(readFile(f.toolsFolder() + QStringLiteral("/runs")), QByteArray("run\n"));
        QVERIFY(f.operationButtonsEnabled());
        for (const char *name : operationButtons)
            QVERIFY(f.find<QWidget>(name)->isEnabled());
        QCOMPARE(f.paneText(), w.strCommand.text + QStringLiteral("\r\ndone\n"));
    }

    void selectionsStayLiveDuringARun()
    {
        WindowFixture f;
        f.installFakeTool("sleep 0.5; echo done");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        const QString before = resetLine(f, QStringLiteral("usb"));
        QTimer::singleShot(100, &w, [&] { f.choose("cmbPort", QStringLiteral("com3")); });
        w.cmdRst_Click();
        // The line already built is unaffected; the next one uses the new port.
        QCOMPARE(w.strCommand.text, before);
        QCOMPARE(w.strPort, QStringLiteral("com3"));
        w.cmdRst_Click();
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral("-P /dev/ttyS2 -E reset")));
    }

    void closingWhileAToolRunsEndsItQuietly()
    {
        WindowFixture f;
        // A tool that ignores the polite request and keeps its output open.
        f.installFakeTool("trap '' TERM; echo $$ > \"$(dirname \"$0\")/pid\"; "
                          "while :; do sleep 0.1; done");
        frmMain &w = f.open();
        w.show();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        QTimer::singleShot(400, &w, [&] { w.close(); });
        QElapsedTimer clock;
        clock.start();
        w.cmdRst_Click();
        const qint64 elapsed = clock.elapsed();

        const qint64 pid = readFile(f.toolsFolder() + QStringLiteral("/pid")).trimmed().toLongLong();
        QVERIFY(pid > 0);
        QVERIFY(!processAlive(pid));
        QVERIFY2(elapsed < 10000, qPrintable(QString::number(elapsed)));
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.operationButtonsEnabled());
        QVERIFY(!w.isVisible());
    }

    void probePassesForTheChosenChipWithoutTouchingThePane()
    {
        WindowFixture f;
        f.installFakeTool("echo 'avrdude: device signature = 0x1E9307 (probably m8)' >&2");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        QVERIFY(f.probeOnly());
        QCOMPARE(w.strCommand.text, resetLine(f, QStringLiteral("usb")));
        QCOMPARE(f.paneText(), QStringLiteral(" "));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void probeRefusesAnotherChipAndShowsWhy()
    {
        WindowFixture f;
        f.installFakeTool("echo 'avrdude: device signature = 0x1e9403 (probably m16)'");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        QVERIFY(!f.probeOnly());
        QCOMPARE(f.paneText(), resetLine(f, QStringLiteral("usb"))
                                   + QStringLiteral("\r\navrdude: device signature = 0x1e9403 (probably m16)\n"));
        QCOMPARE(w.strCommand.text, resetLine(f, QStringLiteral("usb")));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("编程器或器件错误\r\nDevice signature=0x1e9403"));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("错误"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Critical);
    }

    // The tool's version is asked once, the first time an operation needs
    // it; an answer without one is not kept. It decides " -v" on the probe.
    void toolDialectIsAskedOnceAndDecidesTheFlags_data()
    {
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QString>("probeEnd");
        QTest::addColumn<int>("queries");
        QTest::newRow("8.1") << "avrdude version 8.1, https://github.com/avrdudes/avrdude"
                             << " -E reset -v" << 1;
        QTest::newRow("7.1") << "avrdude version 7.1, URL: <https://github.com/avrdudes/avrdude>"
                             << " -E reset" << 1;
        QTest::newRow("6.3") << "avrdude version 6.3-20171130, URL: <http://savannah.nongnu.org/projects/avrdude/>"
                             << " -E reset" << 1;
        QTest::newRow("unreadable") << "avrdude: command not understood"
                                    << " -E reset" << 4;
    }
    void toolDialectIsAskedOnceAndDecidesTheFlags()
    {
        QFETCH(QString, usage);
        QFETCH(QString, probeEnd);
        QFETCH(int, queries);
        WindowFixture f;
        f.installFakeTool("case \"$1\" in -\\?) echo \"$FW_USAGE\"; echo '-?' >> \"$(dirname \"$0\")/runs\";; "
                          "*) echo 'Device signature = 1E 93 07 (ATmega8, ATmega8A)';; esac");
        qputenv("FW_USAGE", usage.toUtf8());
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        QVERIFY(f.probeOnly());
        QVERIFY2(w.strCommand.text.endsWith(probeEnd), qPrintable(w.strCommand.text));
        w.cmdFuseWR_Click();
        w.cmdCalRD_Click();
        w.cmdCalRD_Click();
        qunsetenv("FW_USAGE");
        QCOMPARE(readFile(f.toolsFolder() + QStringLiteral("/runs")).count("-?"), queries);
    }

    void probeWithoutAToolReportsBoth()
    {
        WindowFixture f;
        f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        QVERIFY(!f.probeOnly());
        QCOMPARE(f.dialogs.messages.size(), 2);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("无法建立新进程，错误码：2"));
        QCOMPARE(f.dialogs.messages[1].text, QStringLiteral("编程器或器件错误\r\nDevice signature="));
    }

    void aProgrammerThatNeverAnswersIsGivenUp()
    {
        WindowFixture f;
        f.installFakeTool("echo $$ > \"$(dirname \"$0\")/pid\"; "
                          "while :; do echo 'avrdude error: programmer is not responding' >&2; sleep 0.05; done");
        frmMain &w = f.open();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QVERIFY(!f.probeOnly());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.startsWith(QStringLiteral("编程器或器件错误\r\nDevice signature=")));
        QVERIFY(!processAlive(readFile(f.toolsFolder() + QStringLiteral("/pid")).trimmed().toLongLong()));

        // The reset shows what the tool said before it was given up.
        w.cmdRst_Click();
        QVERIFY(f.paneText().count(QStringLiteral("programmer is not responding")) >= 3);
        QVERIFY(f.operationButtonsEnabled());
    }

private:
    static QString resetLine(WindowFixture &f, const QString &port)
    {
        return f.toolsFolder() + QStringLiteral("/avrdude -p m8 -C ") + f.toolsFolder()
               + QStringLiteral("/avrdude.conf -c usbasp -P ") + port + QStringLiteral(" -E reset");
    }
};

FW_APP_TEST_MAIN(TestWindowRuns)
#include "test_window_runs.moc"
