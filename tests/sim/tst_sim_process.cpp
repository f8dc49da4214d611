// fusewright-sim as a process: its port file, its pseudo-terminal across
// many opens and closes, its state folder, its log and its exit.
#include "byte_files.h"
#include "serial_client.h"
#include "sim_paths.h"
#include "sim_process.h"

#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

const QByteArray m8Signature = bytes({0x07, 0x93, 0x1E}); // as 's' sends it

bool waitForFileToContain(const QString &path, const QByteArray &text, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (readBytes(path).contains(text))
            return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace

class SimProcessTest : public QObject {
    Q_OBJECT

private slots:
    void portFileNamesTheTerminalOnOneLine();
    void servesOverThePseudoTerminal();
    void portSurvivesRunAfterRun();
    void interruptedCommandIsForgotten();
    void stateFilesFollowEditsAndChanges();
    void noChipLeavesTheStateFolderAlone();
    void stopsCleanlyOnSignals_data();
    void stopsCleanlyOnSignals();
    void badOptionsExitWithUsage();
};

void SimProcessTest::portFileNamesTheTerminalOnOneLine()
{
    QTemporaryDir dir;
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("sim-port"), {}), qPrintable(sim.errorText()));
    const QByteArray content = readBytes(dir.filePath("sim-port"));
    QCOMPARE(content.count('\n'), 1);
    QVERIFY(content.endsWith('\n'));
    struct stat st = {};
    QCOMPARE(::stat(sim.port().toLocal8Bit().constData(), &st), 0);
    QVERIFY(S_ISCHR(st.st_mode));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"sim-port"}); // no temporaries left
}

void SimProcessTest::servesOverThePseudoTerminal()
{
    QTemporaryDir dir;
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("port"), {"--chip", "m8"}), qPrintable(sim.errorText()));
    SerialClient port;
    QVERIFY(port.open(sim.port()));
    QCOMPARE(port.ask("S", 7), QByteArray("AVR ISP"));
    QCOMPARE(port.ask("b", 3), bytes({'Y', 0x00, 0x80}));
    QCOMPARE(port.ask("Z", 1), QByteArray("?"));
    QCOMPARE(port.ask(bytes({0x00}), 1), QByteArray("?"));
    QCOMPARE(port.ask("s", 3), m8Signature);
    QCOMPARE(port.ask(bytes({'.', 0x58, 0x08, 0x00, 0x00}), 2), bytes({0xD9, '\r'}));
    // Large answers go out whole: 32 block reads of 128 bytes sent at once.
    QByteArray reads = bytes({'A', 0, 0});
    for (int i = 0; i < 32; ++i)
        reads += bytes({'g', 0x00, 0x80, 'F'});
    QCOMPARE(port.ask(reads, 1 + 32 * 128), QByteArray("\r") + QByteArray(32 * 128, char(0xFF)));
    QCOMPARE(port.drain(), QByteArray());
    QVERIFY(sim.isRunning());
}

void SimProcessTest::portSurvivesRunAfterRun()
{
    QTemporaryDir dir;
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("port"),
                       {"--block", "0", "--state", dir.filePath("chip"), "--log", dir.filePath("log")}),
             qPrintable(sim.errorText()));
    const QString fds = QString("/proc/%1/fd").arg(sim.pid());
    const int fdsAtStart = QDir(fds).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size();
    for (int run = 0; run < 25; ++run) {
        SerialClient port;
        QVERIFY2(port.open(sim.port()), qPrintable(QString("open %1").arg(run)));
        QCOMPARE(port.ask("S", 7), QByteArray("AVR ISP"));
        QCOMPARE(port.ask("b", 1), QByteArray("N"));
        QCOMPARE(port.ask(bytes({'.', 0xAC, 0xA0, 0x00, run}), 2), bytes({0x00, '\r'}));
        QCOMPARE(port.ask("L", 1), QByteArray("\r"));
    }
    QVERIFY(sim.isRunning());
    QCOMPARE(readBytes(dir.filePath("chip/lfuse")), bytes({24}));
    // Saving the state and serving sessions must not leak descriptors.
    if (QFileInfo::exists(fds))
        QCOMPARE(QDir(fds).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size(), fdsAtStart);
}

void SimProcessTest::interruptedCommandIsForgotten()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("log");
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("port"), {"--log", log}), qPrintable(sim.errorText()));
    {
        SerialClient port;
        QVERIFY(port.open(sim.port()));
        QVERIFY(port.send(bytes({'B', 0x00, 0x40, 'F'}) + QByteArray(10, 0x00)));
    }
    // Waiting on the log, not the clock: the next command is sent only once
    // the simulator has given up on the broken one.
    QVERIFY(waitForFileToContain(log, "dropping an incomplete command"));
    SerialClient port;
    QVERIFY(port.open(sim.port()));
    QCOMPARE(port.ask("S", 7), QByteArray("AVR ISP"));
    QVERIFY(waitForFileToContain(log, "'S' | programmer id"));
}

void SimProcessTest::stateFilesFollowEditsAndChanges()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("chip");
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("port"), {"--chip", "m16", "--state", state}), qPrintable(sim.errorText()));
    QCOMPARE(readBytes(state + "/hfuse"), QByteArray("\x99")); // created at start

    SerialClient port;
    QVERIFY(port.open(sim.port()));
    QCOMPARE(port.ask("S", 7), QByteArray("AVR ISP"));
    QCOMPARE(port.ask(bytes({'.', 0x50, 0x00, 0x00, 0x00}), 2), bytes({0xE1, '\r'}));

    // An edit shows at the next session start ('S' or 'P').
    QVERIFY(writeBytes(state + "/lfuse", "\x2F"));
    QCOMPARE(port.ask(bytes({'.', 0x50, 0x00, 0x00, 0x00}), 2), bytes({0xE1, '\r'}));
    QCOMPARE(port.ask("P", 1), QByteArray("\r"));
    QCOMPARE(port.ask(bytes({'.', 0x50, 0x00, 0x00, 0x00}), 2), bytes({0x2F, '\r'}));

    // A change is on disk by the time its answer arrives.
    QCOMPARE(port.ask(bytes({'.', 0xAC, 0xA0, 0x00, 0x3C}), 2), bytes({0x00, '\r'}));
    QCOMPARE(readBytes(state + "/lfuse"), QByteArray("\x3C"));
    QCOMPARE(port.ask(bytes({'A', 0x00, 0x40, 'B', 0x00, 0x02, 'F', 0x12, 0x34}), 2), QByteArray("\r\r"));
    const QByteArray flash = readBytes(state + "/flash.bin");
    QCOMPARE(flash.size(), 16384);
    QCOMPARE(flash.mid(0x7F, 4), bytes({0xFF, 0x12, 0x34, 0xFF}));
    QCOMPARE(port.ask(bytes({'A', 0x00, 0x05, 'D', 0x77}), 2), QByteArray("\r\r"));
    QCOMPARE(readBytes(state + "/eeprom.bin").at(5), char(0x77));

    // A deleted file comes back with its factory content.
    QVERIFY(QFile::remove(state + "/hfuse"));
    QCOMPARE(port.ask("S", 7), QByteArray("AVR ISP"));
    QCOMPARE(readBytes(state + "/hfuse"), QByteArray("\x99"));
}

void SimProcessTest::noChipLeavesTheStateFolderAlone()
{
    QTemporaryDir dir;
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("port"), {"--chip", "none", "--state", dir.filePath("chip")}),
             qPrintable(sim.errorText()));
    SerialClient port;
    QVERIFY(port.open(sim.port()));
    QCOMPARE(port.ask("S", 7), QByteArray("AVR ISP"));
    QCOMPARE(port.ask("s", 3), bytes({0, 0, 0}));
    QCOMPARE(port.ask(bytes({'.', 0xAC, 0xA0, 0x00, 0x3C}), 2), bytes({0x00, '\r'}));
    QVERIFY(!QFileInfo::exists(dir.filePath("chip/lfuse")));
}

void SimProcessTest::stopsCleanlyOnSignals_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void SimProcessTest::stopsCleanlyOnSignals()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    SimProcess sim;
    QVERIFY2(sim.start(dir.filePath("port"), {"--state", dir.filePath("chip")}), qPrintable(sim.errorText()));
    {
        SerialClient port;
        QVERIFY(port.open(sim.port()));
        QCOMPARE(port.ask(bytes({'.', 0xAC, 0xA0, 0x00, 0x11}), 2), bytes({0x00, '\r'}));
        // Half a command pending when the signal comes.
        QVERIFY(port.send(bytes({'B', 0x00, 0x40})));
        QCOMPARE(sim.stop(signal), 0);
    }
    QCOMPARE(readBytes(dir.filePath("chip/lfuse")), QByteArray("\x11"));
    QVERIFY(QFileInfo::exists(dir.filePath("port")));
}

void SimProcessTest::badOptionsExitWithUsage()
{
    for (const QStringList &args :
         {QStringList{"--chip", "attiny"}, QStringList{"--block", "-1"}, QStringList{"--what"}}) {
        QProcess p;
        p.start(simExecutable(), args);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("usage:"));
    }
}

QTEST_GUILESS_MAIN(SimProcessTest)
#include "tst_sim_process.moc"
