// The window stays live during a run: timers fire and posted events arrive
// while the child is quiet and while it floods the pipe.

#include "emitter_command.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"
#include "when_file_appears.h"

#include <QtTest>

using fw_test::emitterCommand;

class RunnerEventLoopTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void timersFireWhileTheChildIsQuiet()
    {
        QTemporaryDir dir;
        const QString go = dir.filePath("go");
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            // The child waits for the third tick, so without ticks it would
            // give up after 20 s and never print "released".
            if (++ticks == 3)
                QFile(go).open(QIODevice::WriteOnly);
        });
        ticker.start(5);

        CommandRunner runner;
        const RunOutcome o = runner.run(emitterCommand({"out:waiting ", "await:" + go, "out:released"}));
        QCOMPARE(o.failure, RunOutcome::Failure::None);
        QCOMPARE(o.text, QStringLiteral("waiting released"));
        QVERIFY(ticks >= 3);
    }

    void eventsAreHandledWhileOutputPoursIn()
    {
        int passes = 0;
        QTimer everyPass;
        QObject::connect(&everyPass, &QTimer::timeout, [&] { ++passes; });
        everyPass.start(0);
        bool posted = false;
        const auto post = [&] { posted = true; };
        QMetaObject::invokeMethod(this, post, Qt::QueuedConnection);

        CommandRunner runner;
        const RunOutcome o = runner.run(emitterCommand({"pattern:4194304"}));
        QCOMPARE(o.bytes.size(), qsizetype(4194304));
        QVERIFY(posted);
        QVERIFY(passes > 0);
        qInfo("event loop passes during a 4 MiB run: %d", passes);
    }

    void handlersSeeTheRunnerBusy()
    {
        QTemporaryDir dir;
        const QString ready = dir.filePath("ready");
        const QString go = dir.filePath("go");
        CommandRunner runner;
        bool seenBusy = false;
        fw_test::WhenFileAppears trigger(ready, [&] {
            seenBusy = runner.isRunning();
            QFile(go).open(QIODevice::WriteOnly);
        });
        QVERIFY(!runner.isRunning());
        runner.run(emitterCommand({"touch:" + ready, "await:" + go}));
        QVERIFY(seenBusy);
        QVERIFY(!runner.isRunning());
    }
};

FW_TEST_CLASS(RunnerEventLoopTest)
#include "tst_runner_event_loop.moc"
