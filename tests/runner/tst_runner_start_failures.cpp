// Runs that cannot start: the reason comes back as the system's error number,
// with no text, nothing left running and nothing left open.

#include "emitter_command.h"
#include "process_probe.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"
#include "when_file_appears.h"

#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using fw_test::Children;

class RunnerStartFailuresTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &content, QFile::Permissions perms)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return {};
        f.close();
        f.setPermissions(perms);
        return path;
    }

    static ToolCommand command(const QString &program)
    {
        ToolCommand c;
        c.program = program;
        c.arguments = QStringList{"-p", "m328p"};
        c.text = program + " -p m328p";
        return c;
    }

private slots:
    void initTestCase()
    {
        fw_test::failIfStillRunningAfter(120);
        QVERIFY(m_dir.isValid());
    }

    void startFailures_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("error");
        const auto rw = QFile::ReadOwner | QFile::WriteOwner;
        QTest::newRow("missing") << m_dir.filePath("no-such-tool") << ENOENT;
        QTest::newRow("missing folder") << m_dir.filePath("no-such-folder/avrdude") << ENOENT;
        QTest::newRow("empty name") << QString() << ENOENT;
        QTest::newRow("not executable") << writeFile("plain", "#!/bin/sh\necho hi\n", rw) << EACCES;
        QTest::newRow("folder") << m_dir.path() << EACCES;
        QTest::newRow("not a program") << writeFile("garbage", "\x01\x02 no magic here\n", rw | QFile::ExeOwner)
                                       << ENOEXEC;
    }
    void startFailures()
    {
        QFETCH(QString, program);
        QFETCH(int, error);
        const int descriptorsBefore = fw_test::openDescriptorCount();

        CommandRunner runner;
        const RunOutcome o = runner.run(command(program));
        QCOMPARE(o.failure, RunOutcome::Failure::Start);
        QCOMPARE(o.errorNumber, error);
        QVERIFY(!o.interrupted);
        QVERIFY(o.bytes.isEmpty());
        QVERIFY(o.text.isEmpty());
        QVERIFY(!runner.isRunning());

        QCOMPARE(fw_test::openDescriptorCount(), descriptorsBefore);
        QCOMPARE(fw_test::describe(fw_test::childState()), fw_test::describe(Children::None));
    }

    void nameWithoutFolderIsNotLookedUpInPath()
    {
        // "true" is on PATH but not in the working folder.
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        CommandRunner runner;
        const RunOutcome o = runner.run(command(QStringLiteral("true")));
        QDir::setCurrent(before);
        QCOMPARE(o.failure, RunOutcome::Failure::Start);
        QCOMPARE(o.errorNumber, ENOENT);
    }

    void pipeFailureLeavesNothingBehind_data()
    {
        QTest::addColumn<int>("freeSlots");
        QTest::newRow("no descriptor free") << 0;
        QTest::newRow("one descriptor free") << 1;
    }
    void pipeFailureLeavesNothingBehind()
    {
        QFETCH(int, freeSlots);
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        const int descriptorsBefore = fw_test::openDescriptorCount();

        // Fill the table below a lowered limit, then give back freeSlots.
        rlimit low = saved;
        low.rlim_cur = rlim_t(descriptorsBefore + 16);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        QList<int> fillers;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            fillers << fd;
        const int fillError = errno;
        for (int i = 0; i < freeSlots && !fillers.isEmpty(); ++i)
            ::close(fillers.takeLast());

        CommandRunner runner;
        const RunOutcome o = runner.run(fw_test::emitterCommand({"out:should not run"}));

        for (int fd : fillers)
            ::close(fd);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);

        QCOMPARE(fillError, EMFILE);
        QCOMPARE(o.failure, RunOutcome::Failure::Pipe);
        QCOMPARE(o.errorNumber, EMFILE);
        QVERIFY(o.text.isEmpty());
        QCOMPARE(fw_test::openDescriptorCount(), descriptorsBefore);
        QCOMPARE(fw_test::describe(fw_test::childState()), fw_test::describe(Children::None));
    }

    void secondRunOnTheSameRunnerIsRefused()
    {
        QTemporaryDir dir;
        const QString started = dir.filePath("started");
        const QString go = dir.filePath("go");
        CommandRunner runner;
        RunOutcome nested;
        bool nestedRan = false;
        fw_test::WhenFileAppears trigger(started, [&] {
            nested = runner.run(fw_test::emitterCommand({"out:nested"}));
            nestedRan = true;
            QFile(go).open(QIODevice::WriteOnly);
        });

        const RunOutcome outer =
            runner.run(fw_test::emitterCommand({"out:outer ", "touch:" + started, "await:" + go, "out:done"}));

        QVERIFY(nestedRan);
        QCOMPARE(nested.failure, RunOutcome::Failure::Start);
        QCOMPARE(nested.errorNumber, EBUSY);
        QVERIFY(nested.text.isEmpty());
        QCOMPARE(outer.failure, RunOutcome::Failure::None);
        QVERIFY(!outer.interrupted);
        QCOMPARE(outer.text, QStringLiteral("outer done"));

        // The refusal left the runner usable.
        const RunOutcome again = runner.run(fw_test::emitterCommand({"out:again"}));
        QCOMPARE(again.failure, RunOutcome::Failure::None);
        QCOMPARE(again.text, QStringLiteral("again"));
    }
};

FW_TEST_CLASS(RunnerStartFailuresTest)
#include "tst_runner_start_failures.moc"
