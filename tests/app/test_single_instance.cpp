// One instance per user: a second start is refused with a warning and ends
// without showing its window; a crashed instance blocks nothing.

#include "app_test_main.h"
#include "window_fixture.h"

#include "platform/instance_lock.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

namespace {
QString uniqueKey()
{
    return QStringLiteral("fusewright-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

// Waits until another process holds the lock of key.
bool heldElsewhere(const QString &key)
{
    for (int i = 0; i < 200; ++i) {
        platform::InstanceLock probe(key);
        if (!probe.tryAcquire())
            return true;
        probe.release();
        QTest::qWait(50);
    }
    return false;
}
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void lockIsExclusiveAndReleased()
    {
        const QString key = uniqueKey();
        platform::InstanceLock first(key);
        platform::InstanceLock second(key);
        QVERIFY(first.tryAcquire());
        QVERIFY(first.tryAcquire()); // holding it twice is fine
        QVERIFY(!second.tryAcquire());
        first.release();
        QVERIFY(second.tryAcquire());
    }

    void secondWindowIsRefused()
    {
        const QString key = uniqueKey();
        platform::InstanceLock firstInstance(key);
        QVERIFY(firstInstance.tryAcquire());

        WindowFixture f(key);
        frmMain &second = f.open();
        const auto &dialogs = f.dialogs;
        QVERIFY(second.startRefused());
        QVERIFY(!second.isVisible());
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("程序已经运行"));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("重复运行"));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(dialogs.messages[0].buttons, MessageButtons::Ok);
        // Nothing after the refusal ran: the lists stay empty.
        QCOMPARE(second.findChild<QComboBox *>(QStringLiteral("cmbDevice"))->count(), 0);
    }

    void realProgramBlocksASecondStartAndACrashReleases()
    {
        // A runtime folder of this test's own, so an instance the user runs
        // meanwhile plays no part.
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString key = platform::InstanceLock::defaultKey();
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(FUSEWRIGHT_EXE), {});
        QVERIFY(program.waitForStarted(10000));
        QVERIFY(heldElsewhere(key));

        // This process is the second start.
        {
            WindowFixture second(key);
            QVERIFY(second.open().startRefused());
            QCOMPARE(second.dialogs.messages.size(), 1);
            QCOMPARE(second.dialogs.messages[0].title, QStringLiteral("重复运行"));
        }
        QCOMPARE(program.state(), QProcess::Running); // the first is unaffected

        // A crash (SIGKILL) leaves no lock behind.
        program.kill();
        QVERIFY(program.waitForFinished(10000));
        WindowFixture third(key);
        QVERIFY(!third.open().startRefused());
        QVERIFY(third.dialogs.messages.isEmpty());
    }
};

FW_APP_TEST_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
