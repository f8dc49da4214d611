// interrupt(): the child is asked to end, killed if it will not, reaped, and
// run() returns with what was captured so far.

#include "emitter_command.h"
#include "process_probe.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"
#include "when_file_appears.h"

#include <QtTest>

#include <csignal>
#include <thread>

using fw_test::emitterCommand;

namespace {

// Stands in for a window whose close handler interrupts the runner.
class ClosingWindow : public QObject {
public:
    explicit ClosingWindow(CommandRunner &runner) : m_runner(runner) {}
    bool closed = false;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::Close)
            return QObject::event(e);
        m_runner.interrupt();
        closed = true;
        return true;
    }

private:
    CommandRunner &m_runner;
};

} // namespace

class RunnerInterruptTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_seq = 0;

    QString marker() { return m_dir.filePath(QStringLiteral("marker-%1").arg(++m_seq)); }

    static QByteArray childState() { return fw_test::describe(fw_test::childState()); }

private slots:
    void initTestCase()
    {
        fw_test::failIfStillRunningAfter(120);
        QVERIFY(m_dir.isValid());
    }

    void cleanup() { QCOMPARE(childState(), QByteArray("none")); }

    void idleInterruptDoesNothing()
    {
        CommandRunner runner;
        runner.interrupt();
        runner.interrupt();
        QVERIFY(!runner.isRunning());
        const RunOutcome o = runner.run(emitterCommand({"out:normal"}));
        QCOMPARE(o.failure, RunOutcome::Failure::None);
        QVERIFY(!o.interrupted);
        QCOMPARE(o.text, QStringLiteral("normal"));
    }

    void childThatObeysEndsAndKeepsEarlierOutput()
    {
        const QString ready = marker();
        CommandRunner runner;
        fw_test::WhenFileAppears trigger(ready, [&] {
            runner.interrupt();
            runner.interrupt();
        });
        // Left alone it would take 20 s and then say "finished".
        const RunOutcome o = runner.run(
            emitterCommand({"out:started\n", "err:warming up\n", "touch:" + ready, "sleep:20000", "out:finished\n"}));
        QVERIFY(trigger.fired());
        QCOMPARE(o.failure, RunOutcome::Failure::None);
        QVERIFY(o.interrupted);
        QCOMPARE(o.text, QStringLiteral("started\nwarming up\n"));
        QVERIFY(!runner.isRunning());
    }

    void childThatIgnoresTerminateIsKilledAfterTheGrace()
    {
        const QString ready = marker();
        CommandRunner runner;
        QElapsedTimer clock;
        fw_test::WhenFileAppears trigger(ready, [&] {
            clock.start();
            runner.interrupt();
        });
        const RunOutcome o = runner.run(
            emitterCommand({"trap-term", "out:started\n", "touch:" + ready, "sleep:20000", "out:finished\n"}));
        const qint64 tookMs = clock.elapsed();
        QVERIFY(trigger.fired());
        QVERIFY(o.interrupted);
        // It was asked first (and carried on), then killed before it could finish.
        QCOMPARE(o.text, QStringLiteral("started\ngot-term\n"));
        qInfo("interrupt to return: %lld ms (grace %d ms)", tookMs, CommandRunner::killGraceMs);
    }

    void interruptFromACloseHandler()
    {
        const QString ready = marker();
        CommandRunner runner;
        ClosingWindow window(runner);
        fw_test::WhenFileAppears trigger(ready,
                                         [&] { QCoreApplication::postEvent(&window, new QEvent(QEvent::Close)); });
        const RunOutcome o = runner.run(emitterCommand({"out:busy", "touch:" + ready, "hang"}));
        QVERIFY(window.closed);
        QVERIFY(o.interrupted);
        QCOMPARE(o.text, QStringLiteral("busy"));
    }

    void grandchildHoldingThePipeDoesNotDelayTheReturn()
    {
        const QString ready = marker();
        CommandRunner runner;
        fw_test::WhenFileAppears trigger(ready, [&] { runner.interrupt(); });
        const RunOutcome o = runner.run(emitterCommand({"holder:20000", "touch:" + ready, "hang"}));
        QVERIFY(o.interrupted);

        const QRegularExpressionMatch m = QRegularExpression("^holder:(\\d+)\n$").match(o.text);
        QVERIFY2(m.hasMatch(), qPrintable(o.text));
        const pid_t grandchild = pid_t(m.captured(1).toLong());
        QVERIFY(grandchild > 1);
        // Still holding the pipe: run() did not wait for it.
        QCOMPARE(::kill(grandchild, 0), 0);
        ::kill(grandchild, SIGKILL);
    }

    void runnerIsReusableAfterAnInterrupt()
    {
        const QString ready = marker();
        CommandRunner runner;
        {
            fw_test::WhenFileAppears trigger(ready, [&] { runner.interrupt(); });
            QVERIFY(runner.run(emitterCommand({"touch:" + ready, "hang"})).interrupted);
        }
        const RunOutcome o = runner.run(emitterCommand({"out:second"}));
        QVERIFY(!o.interrupted);
        QCOMPARE(o.text, QStringLiteral("second"));
    }

    void destroyingTheRunnerDuringItsRun()
    {
        const QString ready = marker();
        auto *runner = new CommandRunner;
        fw_test::WhenFileAppears trigger(ready, [&] {
            delete runner;
            runner = nullptr;
        });
        const RunOutcome o = runner->run(emitterCommand({"trap-term", "out:before", "touch:" + ready, "hang"}));
        QVERIFY(trigger.fired());
        QVERIFY(o.interrupted);
        QVERIFY(o.text.startsWith(QStringLiteral("before")));
        QCOMPARE(childState(), QByteArray("none"));
    }

    // Killed at once, SIGTERM or not, after the silence limit, with or
    // without an event loop; output that keeps coming keeps a run going.
    void silentChildIsKilledAfterTheLimit()
    {
        CommandRunner::setSilenceLimitMs(1000);
        const RunOutcome quiet =
            CommandRunner().run(emitterCommand({"trap-term", "out:started\n", "sleep:20000", "out:late"}));
        const RunOutcome talking = CommandRunner().run(emitterCommand(
            {"out:a", "sleep:300", "out:b", "sleep:300", "out:c", "sleep:300", "out:d", "sleep:300", "out:e"}));
        RunOutcome blocking;
        std::thread([&blocking] { blocking = CommandRunner().run(emitterCommand({"out:started\n", "hang"})); }).join();
        CommandRunner::setSilenceLimitMs(CommandRunner::defaultSilenceLimitMs);
        for (const RunOutcome &o : {quiet, blocking}) {
            QVERIFY(o.interrupted);
            QCOMPARE(o.silentForMs, 1000);
            QCOMPARE(o.exitCode, -1);
            QCOMPARE(o.text, QStringLiteral("started\n"));
        }
        QVERIFY(!talking.interrupted && talking.silentForMs == 0 && talking.exitCode == 0);
        QCOMPARE(talking.text, QStringLiteral("abcde"));
    }
};

FW_TEST_CLASS(RunnerInterruptTest)
#include "tst_runner_interrupt.moc"
