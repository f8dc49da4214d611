// Starting a child: failures leave nothing behind, and a started child gets
// exactly the pipe set-up the runner relies on.

#include "child_reading.h"
#include "process_probe.h"
#include "test_deadline.h"
#include "test_suite.h"

#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::ChildProcess;

class ChildProcessStartTest : public QObject {
    Q_OBJECT

    static QString emitter() { return QStringLiteral(FW_TEST_EMITTER); }
    static QByteArray childState() { return fw_test::describe(fw_test::childState()); }

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void cleanup() { QCOMPARE(childState(), QByteArray("none")); }

    void failedStartsReportErrnoAndLeakNothing_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/tool") << ENOENT;
        QTest::newRow("not executable") << QStringLiteral("/etc/passwd") << EACCES;
        QTest::newRow("folder") << QStringLiteral("/") << EACCES;
    }
    void failedStartsReportErrnoAndLeakNothing()
    {
        QFETCH(QString, program);
        QFETCH(int, error);
        const int before = fw_test::openDescriptorCount();
        {
            ChildProcess child;
            QCOMPARE(child.start(program, {"x"}), ChildProcess::Failure::Start);
            QCOMPARE(child.errorNumber(), error);
            QVERIFY(!child.isRunning());
            QCOMPARE(child.outputDescriptor(), -1);
            QVERIFY(child.tryReap());
        }
        QCOMPARE(fw_test::openDescriptorCount(), before);
    }

    void exhaustedDescriptorTableIsAPipeFailure()
    {
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        const int before = fw_test::openDescriptorCount();
        rlimit low = saved;
        low.rlim_cur = rlim_t(before + 8);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        QList<int> fillers;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            fillers << fd;

        ChildProcess child;
        const ChildProcess::Failure f = child.start(emitter(), {"out:x"});
        const int error = child.errorNumber();

        for (int fd : fillers)
            ::close(fd);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
        QCOMPARE(f, ChildProcess::Failure::Pipe);
        QCOMPARE(error, EMFILE);
        QVERIFY(!child.isRunning());
        QCOMPARE(fw_test::openDescriptorCount(), before);
    }

    void secondStartIsRefusedWhileTheFirstRuns()
    {
        ChildProcess child;
        QCOMPARE(child.start(emitter(), {"hang"}), ChildProcess::Failure::None);
        const int fd = child.outputDescriptor();
        QCOMPARE(child.start(emitter(), {"out:second"}), ChildProcess::Failure::Start);
        QCOMPARE(child.errorNumber(), EBUSY);
        QCOMPARE(child.outputDescriptor(), fd);
        QVERIFY(child.isRunning());
        child.kill();
        child.reapBlocking();
        QVERIFY(WIFSIGNALED(child.waitStatus()) && WTERMSIG(child.waitStatus()) == SIGKILL);
    }

    void readEndIsNonBlockingAndNotInherited()
    {
        ChildProcess child;
        QCOMPARE(child.start(emitter(), {"hang"}), ChildProcess::Failure::None);
        const int fd = child.outputDescriptor();
        QVERIFY(fd > 2);
        QVERIFY(::fcntl(fd, F_GETFL) & O_NONBLOCK);
        QVERIFY(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
        // The child says nothing, so there is nothing yet rather than a blocked read.
        char c;
        QCOMPARE(child.readAvailable(&c, 1), qint64(-1));
        child.kill();
        // Only the child held the write end: its death ends the output.
        const fw_test::ReadResult r = fw_test::readOutput(child, 10000);
        QVERIFY(r.endOfOutput);
        QVERIFY(r.bytes.isEmpty());
        child.reapBlocking();
    }

    void childSeesNullInputAndOneSharedPipe()
    {
        const int inheritable = ::open("/dev/null", O_RDONLY);
        ChildProcess child;
        const ChildProcess::Failure f = child.start(emitter(), {"stdio", "out:|", "fds", "out:|", "stdin"});
        ::close(inheritable);
        QCOMPARE(f, ChildProcess::Failure::None);
        const fw_test::ReadResult r = fw_test::readOutput(child, 10000);
        QVERIFY(r.endOfOutput);
        QCOMPARE(r.bytes, QByteArray("in=/dev/null fifo=1 same=1|0 1 2|tty=0 read=0"));
        child.reapBlocking();
        QVERIFY(WIFEXITED(child.waitStatus()));
        QCOMPARE(WEXITSTATUS(child.waitStatus()), 0);
    }

    void worksWithStandardDescriptorsClosed()
    {
        // A parent started without a standard input: the pipe must not land on 0.
        const int savedIn = ::fcntl(0, F_DUPFD_CLOEXEC, 10);
        QVERIFY(savedIn >= 0);
        ::close(0);
        ChildProcess child;
        const ChildProcess::Failure f = child.start(emitter(), {"stdio", "out:|", "fds"});
        const int readFd = child.outputDescriptor();
        ::dup2(savedIn, 0);
        ::close(savedIn);
        QCOMPARE(f, ChildProcess::Failure::None);
        QVERIFY(readFd > 2);
        const fw_test::ReadResult r = fw_test::readOutput(child, 10000);
        QCOMPARE(r.bytes, QByteArray("in=/dev/null fifo=1 same=1|0 1 2"));
        child.reapBlocking();
    }

    void argumentsAreNotReinterpreted()
    {
        const QStringList words{"a b", "", "$(x)", ";", "\"q\"", "\\"};
        ChildProcess child;
        QCOMPARE(child.start(emitter(), QStringList{"args"} + words), ChildProcess::Failure::None);
        const fw_test::ReadResult r = fw_test::readOutput(child, 10000);
        child.reapBlocking();
        static const char expected[] = "a b\0\0$(x)\0;\0\"q\"\0\\\0";
        QCOMPARE(r.bytes, QByteArray(expected, sizeof expected - 1));
    }
};

FW_TEST_CLASS(ChildProcessStartTest)
#include "tst_child_process_start.moc"
