// Ending and collecting a child: terminate, kill, reap, and what the
// destructor does with a child still running.

#include "child_reading.h"
#include "process_probe.h"
#include "test_deadline.h"
#include "test_suite.h"

#include <QtTest>

#include <csignal>
#include <sys/wait.h>

using platform::ChildProcess;

class ChildProcessLifecycleTest : public QObject {
    Q_OBJECT

    static QString emitter() { return QStringLiteral(FW_TEST_EMITTER); }
    static QByteArray childState() { return fw_test::describe(fw_test::childState()); }

    // Waits, bounded, until the child can be reaped.
    static bool reapWithin(ChildProcess &child, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!child.tryReap()) {
            if (clock.hasExpired(ms))
                return false;
            QTest::qSleep(2);
        }
        return true;
    }

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void cleanup() { QCOMPARE(childState(), QByteArray("none")); }

    void nothingStartedIsAlreadyReaped()
    {
        ChildProcess child;
        QVERIFY(child.tryReap());
        child.reapBlocking();
        child.terminate();
        child.kill();
        child.closeOutput();
        QCOMPARE(child.waitStatus(), -1);
        QCOMPARE(child.readAvailable(nullptr, 0), qint64(0));
    }

    void exitStatusIsKept()
    {
        ChildProcess child;
        QCOMPARE(child.start(emitter(), {"out:bye", "exit:3"}), ChildProcess::Failure::None);
        const fw_test::ReadResult r = fw_test::readOutput(child, 10000);
        QVERIFY(r.endOfOutput);
        QCOMPARE(r.bytes, QByteArray("bye"));
        QVERIFY(reapWithin(child, 10000));
        QVERIFY(!child.isRunning());
        QVERIFY(WIFEXITED(child.waitStatus()));
        QCOMPARE(WEXITSTATUS(child.waitStatus()), 3);
    }

    void terminateEndsAnOrdinaryChild()
    {
        ChildProcess child;
        QCOMPARE(child.start(emitter(), {"hang"}), ChildProcess::Failure::None);
        QVERIFY(!child.tryReap());
        QCOMPARE(childState(), QByteArray("running"));
        child.terminate();
        QVERIFY(reapWithin(child, 10000));
        QVERIFY(WIFSIGNALED(child.waitStatus()));
        QCOMPARE(WTERMSIG(child.waitStatus()), SIGTERM);
        // Reaped: further signals go nowhere.
        child.terminate();
        child.kill();
    }

    void killEndsAChildThatIgnoresTerminate()
    {
        ChildProcess child;
        QCOMPARE(child.start(emitter(), {"trap-term", "out:armed\n", "hang"}), ChildProcess::Failure::None);
        QVERIFY(fw_test::readOutput(child, 10000, "armed\n").bytes.endsWith("armed\n"));
        child.terminate();
        // It notes the request and carries on.
        QVERIFY(fw_test::readOutput(child, 10000, "got-term\n").bytes.endsWith("got-term\n"));
        QVERIFY(!child.tryReap());
        child.kill();
        child.reapBlocking();
        QVERIFY(WIFSIGNALED(child.waitStatus()));
        QCOMPARE(WTERMSIG(child.waitStatus()), SIGKILL);
        const fw_test::ReadResult rest = fw_test::readOutput(child, 10000);
        QVERIFY(rest.endOfOutput);
    }

    void destructorEndsAndCollectsARunningChild_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("ordinary") << QStringList{"hang"};
        QTest::newRow("ignores terminate") << QStringList{"trap-term", "hang"};
        QTest::newRow("already exited") << QStringList{"exit:0"};
        QTest::newRow("output unread") << QStringList{"pattern:200000"};
    }
    void destructorEndsAndCollectsARunningChild()
    {
        QFETCH(QStringList, steps);
        const int before = fw_test::openDescriptorCount();
        {
            ChildProcess child;
            QCOMPARE(child.start(emitter(), steps), ChildProcess::Failure::None);
        }
        QCOMPARE(childState(), QByteArray("none"));
        QCOMPARE(fw_test::openDescriptorCount(), before);
    }

    void closingOutputTwiceIsHarmless()
    {
        ChildProcess child;
        QCOMPARE(child.start(emitter(), {"out:x"}), ChildProcess::Failure::None);
        child.closeOutput();
        QCOMPARE(child.outputDescriptor(), -1);
        child.closeOutput();
        char c;
        QCOMPARE(child.readAvailable(&c, 1), qint64(0));
        child.reapBlocking();
    }
};

FW_TEST_CLASS(ChildProcessLifecycleTest)
#include "tst_child_process_lifecycle.moc"
