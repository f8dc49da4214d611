// The operation in progress over a scripted tool: what runs once the window
// closes, when the operation counts as failed, and which run the hints read.

#include "runner/running_operation.h"

#include <QtTest>

class TestRunningOperation : public QObject {
    Q_OBJECT
private slots:
    void runs_data()
    {
        // One letter a run: 'z' exits with 0, 'n' with 1, 'x' cannot start, 's' is
        // stopped silent, 'c' closes the window while it runs; '|' closes it between runs.
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("started"); // the runs the tool was asked for
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QString>("last"); // the text of the last run that counts
        QTest::newRow("all well") << "zz"
                                  << "zz" << false << "z2";
        QTest::newRow("a bad exit fails the operation") << "nz"
                                                        << "nz" << true << "z2";
        QTest::newRow("a tool that cannot start keeps the last run") << "zx"
                                                                     << "zx" << false << "z1";
        QTest::newRow("stopped silent") << "zs"
                                        << "zs" << true << "s2";
        QTest::newRow("nothing runs after close") << "n|zz"
                                                  << "n" << false << "n1";
        QTest::newRow("a run ended by the close is abandoned") << "zcz"
                                                               << "zc" << false << "z1";
    }
    void runs()
    {
        QFETCH(QString, script);
        QFETCH(QString, started);
        QFETCH(bool, failed);
        QFETCH(QString, last);
        QString asked;
        std::function<void()> closeWindow;
        RunningOperation operation(OperationKind::FuseRead, [&](const ToolCommand &command, RunShown) {
            const QChar kind = command.text.at(0);
            asked += kind;
            if (kind == u'c')
                closeWindow();
            return CapturedRun{command.text, kind == u'z', false, kind != u'x', kind == u's' ? 60 : 0};
        });
        closeWindow = [&] { operation.close(); };
        for (int i = 0; i < script.size(); ++i) {
            if (script[i] == u'|')
                operation.close();
            else if (operation.run({QString(), {}, script[i] + QString::number(i + 1)}).abandoned)
                QVERIFY(operation.failed() == false && (script.contains(u'|') || script.contains(u'c')));
        }
        QCOMPARE(asked, started);
        QCOMPARE(operation.failed(), failed);
        QCOMPARE(operation.lastCaptured(), last);
        QCOMPARE(operation.lastSilentSeconds(), last.startsWith(u's') ? 60 : 0);
    }
};

QTEST_GUILESS_MAIN(TestRunningOperation)
#include "test_running_operation.moc"
