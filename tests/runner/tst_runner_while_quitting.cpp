// Once the application has been told to quit, nested event loops return at
// once; a run in progress must still end properly.

#include "emitter_command.h"
#include "process_probe.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"
#include "when_file_appears.h"

#include <QtTest>

using fw_test::emitterCommand;

class RunnerWhileQuittingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void runStartedBeforeQuitCompletes()
    {
        const QString ready = m_dir.filePath("ready");
        const QString go = m_dir.filePath("go");
        CommandRunner runner;
        int nestedLoopResult = 0;
        fw_test::WhenFileAppears trigger(ready, [&] {
            QCoreApplication::exit(0);
            QEventLoop nested;
            QTimer::singleShot(5000, &nested, [&] { nested.exit(1); });
            nestedLoopResult = nested.exec();
            QFile(go).open(QIODevice::WriteOnly);
        });
        const RunOutcome o = runner.run(emitterCommand({"out:one ", "touch:" + ready, "await:" + go, "out:two"}));
        // Proves the quitting state was in force during the run.
        QCOMPARE(nestedLoopResult, -1);
        QCOMPARE(o.failure, RunOutcome::Failure::None);
        QVERIFY(!o.interrupted);
        QCOMPARE(o.text, QStringLiteral("one two"));
    }

    void runStartedWhileQuittingCanBeInterrupted()
    {
        // The quitting state from the previous case is still in force.
        const QString ready = m_dir.filePath("ready-2");
        CommandRunner runner;
        fw_test::WhenFileAppears trigger(ready, [&] { runner.interrupt(); });
        const RunOutcome o = runner.run(emitterCommand({"trap-term", "out:last words ", "touch:" + ready, "hang"}));
        QVERIFY(o.interrupted);
        QCOMPARE(o.text, QStringLiteral("last words got-term\n"));
        QCOMPARE(fw_test::describe(fw_test::childState()), "none");
    }
};

FW_TEST_CLASS(RunnerWhileQuittingTest)
#include "tst_runner_while_quitting.moc"
