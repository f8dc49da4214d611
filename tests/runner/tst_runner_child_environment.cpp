// What the tool receives: its arguments word for word, no standard input,
// output and error on one pipe, no other descriptor, signals at their
// defaults, our environment and folder.

#include "emitter_command.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"

#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

using fw_test::emitterCommand;

class RunnerChildEnvironmentTest : public QObject {
    Q_OBJECT

    static QString runText(const QStringList &steps)
    {
        CommandRunner runner;
        const RunOutcome o = runner.run(emitterCommand(steps));
        return o.failure == RunOutcome::Failure::None ? o.text : QStringLiteral("<failed to start>");
    }

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void argumentsArriveVerbatim()
    {
        const QStringList words = {QStringLiteral("two words"),
                                   QStringLiteral("\"double quoted\""),
                                   QStringLiteral("'single'"),
                                   QStringLiteral("$(echo substituted)"),
                                   QStringLiteral("`echo backticks`"),
                                   QStringLiteral("a;b"),
                                   QString(),
                                   QStringLiteral("$HOME"),
                                   QStringLiteral("*"),
                                   QStringLiteral("~"),
                                   QStringLiteral("back\\slash"),
                                   QStringLiteral("tab\there"),
                                   QStringLiteral("line\nbreak"),
                                   QStringLiteral("a|b>c<d&"),
                                   QStringLiteral("-U"),
                                   QStringLiteral("flash:w:C:\\my files\\x.hex:i"),
                                   QString(),
                                   QStringLiteral("\u00fcml\u00e4ut")};

        ToolCommand c = emitterCommand(QStringList{"args"} + words);
        // The display text is for people; nobody is to parse it.
        c.text = QStringLiteral("\"%1\" args ; exit 7 $(false)").arg(c.program);

        CommandRunner runner;
        const RunOutcome o = runner.run(c);
        QCOMPARE(o.failure, RunOutcome::Failure::None);

        QByteArray expected;
        for (const QString &w : words)
            expected += w.toUtf8() + '\0';
        QCOMPARE(o.bytes, expected);
        QCOMPARE(o.bytes.count('\0'), words.size());
    }

    void noStandardInput()
    {
        // Our own standard input has something to read; the tool's must not.
        int feed[2];
        QCOMPARE(::pipe2(feed, O_CLOEXEC), 0);
        QCOMPARE(::write(feed[1], "typed", 5), ssize_t(5));
        const int savedIn = ::fcntl(0, F_DUPFD_CLOEXEC, 10);
        ::dup2(feed[0], 0);

        const QString seen = runText({"stdin", "out:|", "stdio"});

        ::dup2(savedIn, 0);
        ::close(savedIn);
        ::close(feed[0]);
        ::close(feed[1]);
        QCOMPARE(seen, QStringLiteral("tty=0 read=0|in=/dev/null fifo=1 same=1"));
    }

    void onlyTheStandardDescriptorsAreInherited()
    {
        // One left open on purpose without close-on-exec, as careless code might.
        const int inheritable = ::open("/dev/null", O_RDONLY);
        QVERIFY(inheritable > 2);
        const QString seen = runText({"fds"});
        ::close(inheritable);
        QCOMPARE(seen, QStringLiteral("0 1 2"));
    }

    void signalsStartOutAtTheirDefaults()
    {
        struct sigaction ignore = {}, savedPipe = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &savedPipe);
        sigset_t block, savedMask;
        sigemptyset(&block);
        sigaddset(&block, SIGUSR1);
        sigaddset(&block, SIGTERM);
        ::pthread_sigmask(SIG_BLOCK, &block, &savedMask);

        const QString seen = runText({"signals"});

        ::pthread_sigmask(SIG_SETMASK, &savedMask, nullptr);
        ::sigaction(SIGPIPE, &savedPipe, nullptr);
        QCOMPARE(seen, QStringLiteral("pipe=dfl blocked=0"));
    }

    void environmentIsInherited()
    {
        const QByteArray value = "with blanks, \"quotes\" and $(dollars)";
        qputenv("FW_RUNNER_PROBE", value);
        const QString seen = runText({"env:FW_RUNNER_PROBE", "out:|", "env:FW_RUNNER_UNSET_PROBE"});
        qunsetenv("FW_RUNNER_PROBE");
        QCOMPARE(seen, QString::fromUtf8(value) + "|<unset>");
    }

    void workingFolderIsInherited()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QString seen = runText({"cwd"});
        QDir::setCurrent(before);
        QCOMPARE(seen, QFileInfo(dir.path()).canonicalFilePath());
    }
};

FW_TEST_CLASS(RunnerChildEnvironmentTest)
#include "tst_runner_child_environment.moc"
