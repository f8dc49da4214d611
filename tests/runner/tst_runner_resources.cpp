// Hundreds of runs leave no descriptor open and no child behind, whether
// they finish, fail to start or are interrupted.

#include "emitter_command.h"
#include "process_probe.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"

#include <QtTest>

using fw_test::emitterCommand;

class RunnerResourcesTest : public QObject {
    Q_OBJECT

    static QByteArray childState() { return fw_test::describe(fw_test::childState()); }

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void init() { QCOMPARE(childState(), QByteArray("none")); }

    void manyCompletedRuns()
    {
        const int before = fw_test::openDescriptorCount();
        CommandRunner runner;
        for (int i = 0; i < 300; ++i) {
            const RunOutcome o = runner.run(emitterCommand({"out:" + QString::number(i), "err:."}));
            if (o.failure != RunOutcome::Failure::None || o.text != QString::number(i) + ".")
                QFAIL(qPrintable(QStringLiteral("run %1 gave \"%2\"").arg(i).arg(o.text)));
            QCOMPARE(childState(), QByteArray("none"));
        }
        QCOMPARE(fw_test::openDescriptorCount(), before);
    }

    void manyRunnersOneRunEach()
    {
        const int before = fw_test::openDescriptorCount();
        for (int i = 0; i < 100; ++i) {
            CommandRunner runner;
            runner.run(emitterCommand({"pattern:5000"}));
        }
        QCOMPARE(fw_test::openDescriptorCount(), before);
        QCOMPARE(childState(), QByteArray("none"));
    }

    void manyFailedStarts()
    {
        const int before = fw_test::openDescriptorCount();
        CommandRunner runner;
        ToolCommand missing;
        missing.program = QStringLiteral("/nonexistent/fw-tool");
        for (int i = 0; i < 200; ++i)
            QCOMPARE(runner.run(missing).errorNumber, ENOENT);
        QCOMPARE(fw_test::openDescriptorCount(), before);
        QCOMPARE(childState(), QByteArray("none"));
    }

    void manyInterruptedRuns()
    {
        const int before = fw_test::openDescriptorCount();
        CommandRunner runner;
        for (int i = 0; i < 50; ++i) {
            // Interrupts at the first pass of the loop, whatever the child has reached.
            QTimer::singleShot(0, [&] { runner.interrupt(); });
            const RunOutcome o = runner.run(emitterCommand({"out:x", "hang"}));
            QVERIFY(o.interrupted);
            QCOMPARE(childState(), QByteArray("none"));
        }
        QCOMPARE(fw_test::openDescriptorCount(), before);
    }
};

FW_TEST_CLASS(RunnerResourcesTest)
#include "tst_runner_resources.moc"
