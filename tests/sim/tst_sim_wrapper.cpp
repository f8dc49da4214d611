// sim-tools/avrdude: the wrapper that points avrdude's -P at the simulator.
#include "avrdude_runner.h"
#include "byte_files.h"
#include "sim_paths.h"
#include "sim_process.h"

#include <QtTest>

namespace {

const char *const kFakePort = "/dev/pts/fake 77";

// Stands in for the real avrdude: records its pid and its arguments,
// NUL-separated so blanks, quotes and empty arguments stay visible.
const char *const kRecorder = "#!/bin/sh\n"
                              "out=\"$(dirname \"$0\")/recorded\"\n"
                              "printf '%s' \"$$\" > \"$out.pid\"\n"
                              "printf '%s\\0' \"$@\" > \"$out.args\"\n";

} // namespace

class SimWrapperTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void installedExecutable();
    void argumentsPassThroughWithThePortReplaced_data();
    void argumentsPassThroughWithThePortReplaced();
    void execKeepsThePid();
    void missingPortFileStopsBeforeAvrdude();
    void realAvrdudeReachesTheSimulator();

private:
    // Runs the wrapper copy with the recorder as the real avrdude.
    QProcess *startWrapper(const QStringList &args);
    QStringList recordedArgs() const;

    QScopedPointer<QTemporaryDir> dir_;
    QString tools_;
    QScopedPointer<QProcess> process_;
};

void SimWrapperTest::init()
{
    dir_.reset(new QTemporaryDir);
    QVERIFY(dir_->isValid());
    tools_ = dir_->filePath("tools");
    QVERIFY(QDir().mkpath(tools_));
    QVERIFY(QFile::copy(simWrapper(), tools_ + "/avrdude"));
    QVERIFY(writeBytes(tools_ + "/sim-port", QByteArray(kFakePort) + "\n"));
    QVERIFY(writeBytes(tools_ + "/recorder", kRecorder));
    QFile(tools_ + "/recorder").setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SimWrapperTest::installedExecutable()
{
    QFileInfo installed(simWrapper());
    QVERIFY(installed.isExecutable());
    QCOMPARE(installed.fileName(), QString("avrdude"));
    QVERIFY(readBytes(simWrapper()).startsWith("#!/bin/sh\n"));
}

QProcess *SimWrapperTest::startWrapper(const QStringList &args)
{
    process_.reset(new QProcess);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FUSEWRIGHT_REAL_AVRDUDE", tools_ + "/recorder");
    process_->setProcessEnvironment(env);
    process_->start(tools_ + "/avrdude", args);
    return process_.data();
}

QStringList SimWrapperTest::recordedArgs() const
{
    QByteArray raw = readBytes(tools_ + "/recorded.args");
    if (raw.isEmpty())
        return {};
    raw.chop(1); // the last NUL
    QStringList args;
    for (const QByteArray &a : raw.split('\0'))
        args << QString::fromUtf8(a);
    return args;
}

void SimWrapperTest::argumentsPassThroughWithThePortReplaced_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("expected");
    const QString port(kFakePort);
    QTest::newRow("separate -P") << QStringList{"-c", "avr910", "-p", "m8", "-P", "com1", "-U", "lfuse:r:-:h"}
                                 << QStringList{"-c", "avr910", "-p", "m8", "-P", port, "-U", "lfuse:r:-:h"};
    QTest::newRow("attached -P") << QStringList{"-Pcom1", "-v"} << QStringList{"-P" + port, "-v"};
    QTest::newRow("blanks, quotes, empty, shell characters")
        << QStringList{"-C",         "/my tools/avrdude.conf",
                       "-U",         "flash:w:/tmp/a \"quoted\" name.hex:i",
                       "",           "it's",
                       "$HOME",      "*",
                       "  padded  ", "back\\slash",
                       "-P",         "com1"}
        << QStringList{"-C",         "/my tools/avrdude.conf",
                       "-U",         "flash:w:/tmp/a \"quoted\" name.hex:i",
                       "",           "it's",
                       "$HOME",      "*",
                       "  padded  ", "back\\slash",
                       "-P",         port};
    QTest::newRow("-P as another option's value")
        << QStringList{"-C", "-P", "-U", "-Pfile", "-P", "lpt1"} << QStringList{"-C", "-P", "-U", "-Pfile", "-P", port};
    QTest::newRow("usb is the USBasp's, not the terminal's")
        << QStringList{"-c", "usbasp", "-P", "usb", "-Pusb"} << QStringList{"-c", "usbasp", "-P", "usb", "-Pusb"};
    QTest::newRow("no -P") << QStringList{"-c", "avr910", "-?"} << QStringList{"-c", "avr910", "-?"};
}

void SimWrapperTest::argumentsPassThroughWithThePortReplaced()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    QProcess *p = startWrapper(args);
    QVERIFY(p->waitForFinished(10000));
    QCOMPARE(p->exitCode(), 0);
    QCOMPARE(recordedArgs(), expected);
}

void SimWrapperTest::execKeepsThePid()
{
    // The program under test stops avrdude by its pid; no shell in between.
    QProcess *p = startWrapper({"-P", "com1"});
    QVERIFY(p->waitForStarted(10000));
    const qint64 pid = p->processId();
    QVERIFY(p->waitForFinished(10000));
    QCOMPARE(readBytes(tools_ + "/recorded.pid").toLongLong(), pid);
}

void SimWrapperTest::missingPortFileStopsBeforeAvrdude()
{
    QVERIFY(QFile::remove(tools_ + "/sim-port"));
    QProcess *p = startWrapper({"-P", "com1"});
    QVERIFY(p->waitForFinished(10000));
    QCOMPARE(p->exitCode(), 1);
    QVERIFY(p->readAllStandardError().contains("sim-port"));
    QVERIFY(!QFileInfo::exists(tools_ + "/recorded.args"));
}

void SimWrapperTest::realAvrdudeReachesTheSimulator()
{
    if (!QFileInfo(realAvrdude()).isExecutable())
        QSKIP("avrdude is not installed");
    SimProcess sim;
    QVERIFY2(sim.start(tools_ + "/sim-port", {"--chip", "m16"}), qPrintable(sim.errorText()));
    qputenv("FUSEWRIGHT_REAL_AVRDUDE", realAvrdude().toLocal8Bit());
    // The port the program under test would pass; only the wrapper knows better.
    const AvrdudeResult r = runAvr910(tools_ + "/avrdude", "m16", "com1", {"-U", "hfuse:r:-:h"}, dir_->path());
    QVERIFY2(r.ok(), qPrintable(r.output));
    QVERIFY2(r.output.contains("device signature = 0x1e9403"), qPrintable(r.output));
    QVERIFY2(r.output.contains("0x99"), qPrintable(r.output));
    QCOMPARE(sim.stop(), 0);
}

QTEST_GUILESS_MAIN(SimWrapperTest)
#include "tst_sim_wrapper.moc"
