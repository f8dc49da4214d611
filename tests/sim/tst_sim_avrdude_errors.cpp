// What avrdude reports when the chip in the socket is missing or not the
// part asked for.
#include "avrdude_runner.h"
#include "sim_paths.h"
#include "sim_process.h"

#include <QtTest>

class SimAvrdudeErrorsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void noChipGivesAnInvalidSignature();
    void otherChipGivesASignatureMismatch();
    void partWithoutAvr910CodeIsRefused();
    void silentProgrammerIsNotResponding();

private:
    QTemporaryDir dir_;
};

void SimAvrdudeErrorsTest::initTestCase()
{
    if (!QFileInfo(realAvrdude()).isExecutable())
        QSKIP("avrdude is not installed");
    QVERIFY(dir_.isValid());
}

void SimAvrdudeErrorsTest::noChipGivesAnInvalidSignature()
{
    SimProcess sim;
    QVERIFY2(sim.start(dir_.filePath("none-port"), {"--chip", "none"}), qPrintable(sim.errorText()));
    const AvrdudeResult r = runAvr910(realAvrdude(), "m8", sim.port(), {"-U", "lfuse:r:lfuse.bin:r"}, dir_.path());
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    // avrdude retries twice before giving up.
    QCOMPARE(r.output.count("device signature = 0x000000 (retrying)"), 2);
    QVERIFY2(r.output.contains("avrdude error: Yikes!  Invalid device signature."), qPrintable(r.output));
    QVERIFY2(r.output.contains("expected signature for ATmega8 is 1E 93 07"), qPrintable(r.output));
    QVERIFY(!QFileInfo::exists(dir_.filePath("lfuse.bin")));
    QCOMPARE(sim.stop(), 0);
}

void SimAvrdudeErrorsTest::otherChipGivesASignatureMismatch()
{
    SimProcess sim;
    QVERIFY2(sim.start(dir_.filePath("m16-port"), {"--chip", "m16"}), qPrintable(sim.errorText()));
    const AvrdudeResult r = runAvr910(realAvrdude(), "m8", sim.port(), {}, dir_.path());
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.output.contains("device signature = 0x1e9403 (probably m16)"), qPrintable(r.output));
    QVERIFY2(r.output.contains("avrdude error: expected signature for ATmega8 is 1E 93 07"), qPrintable(r.output));
    QCOMPARE(sim.stop(), 0);
}

void SimAvrdudeErrorsTest::partWithoutAvr910CodeIsRefused()
{
    SimProcess sim;
    QVERIFY2(sim.start(dir_.filePath("m8-port"), {"--chip", "m8"}), qPrintable(sim.errorText()));
    const AvrdudeResult r = runAvr910(realAvrdude(), "m328p", sim.port(), {}, dir_.path());
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.output.contains("selected device is not supported by programmer"), qPrintable(r.output));
    // The simulator is still there for the next run.
    const AvrdudeResult next = runAvr910(realAvrdude(), "m8", sim.port(), {}, dir_.path());
    QVERIFY2(next.ok(), qPrintable(next.output));
    QCOMPARE(sim.stop(), 0);
}

void SimAvrdudeErrorsTest::silentProgrammerIsNotResponding()
{
    SimProcess sim;
    QVERIFY2(sim.start(dir_.filePath("silent-port"), {"--silent"}), qPrintable(sim.errorText()));
    // avrdude waits 5 s per answer and never gives up on its own with avr910:
    // watch for the first complaint, then stop it as the program would.
    QProcess avrdude;
    avrdude.setProcessChannelMode(QProcess::MergedChannels);
    avrdude.start(realAvrdude(), {"-c", "avr910", "-p", "m8", "-P", sim.port(), "-C", avrdudeConf()});
    QVERIFY(avrdude.waitForStarted(10000));
    QByteArray output;
    QElapsedTimer timer;
    timer.start();
    while (!output.contains("programmer is not responding") && timer.elapsed() < 30000
           && avrdude.state() == QProcess::Running) {
        avrdude.waitForReadyRead(1000);
        output += avrdude.readAll();
    }
    avrdude.kill();
    avrdude.waitForFinished(5000);
    QVERIFY2(output.contains("avrdude error: programmer is not responding"), output.constData());
    QVERIFY(sim.isRunning());
    QCOMPARE(sim.stop(), 0);
}

QTEST_GUILESS_MAIN(SimAvrdudeErrorsTest)
#include "tst_sim_avrdude_errors.moc"
