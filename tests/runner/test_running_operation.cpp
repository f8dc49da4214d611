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
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QString>("started"); // the runs the tool was asked for
        QTest::addColumn<int>("silent");
        QTest::addColumn<QString>("last"); // the text of the last run that counts
        QTest::newRow("all well") << "zz" << false << "zz" << 0 << "z2";
        QTest::newRow("a bad exit fails the operation") << "nz" << true << "nz" << 0 << "z2";
        QTest::newRow("a tool that cannot start keeps the last run") << "zx" << false << "zx" << 0 << "z1";
        QTest::newRow("stopped silent") << "zs" << true << "zs" << 60 << "s2";
        QTest::newRow("nothing runs after close") << "n|zz" << false << "n" << 0 << "n1";
        QTest::newRow("a run ended by the close is abandoned") << "zcz" << false << "zc" << 0 << "z1";
    }
    void runs()
    {
        QFETCH(QString, script);
        QFETCH(bool, failed);
        QFETCH(QString, started);
        QFETCH(int, silent);
        QFETCH(QString, last);
        QString asked;
        std::function<void()> closeWindow;
        RunningOperation operation(OperationKind::FuseRead, [&](const ToolCommand &command, RunShown) {
            const QChar kind = command.text.at(0);
            asked += kind;
            if (kind == u'c')
                closeWindow();
            return CapturedRun{command.text + " printed", kind == u'z', false, kind != u'x', kind == u's' ? 60 : 0};
        });
        closeWindow = [&] { operation.close(); };
        bool closed = false;
        for (int i = 0; i < script.size(); ++i) {
            closed = closed || script[i] == u'|' || script[i] == u'c';
            if (script[i] == u'|')
                operation.close();
            else
                QCOMPARE(operation.run({QString(), {}, script[i] + QString::number(i + 1)}).abandoned, closed);
        }
        QCOMPARE(asked, started);
        QCOMPARE(operation.failed(), failed);
        QCOMPARE(operation.lastCaptured(), last + " printed");
        QCOMPARE(operation.lastSilentSeconds(), silent);
    }
};

QTEST_GUILESS_MAIN(TestRunningOperation)
#include "test_running_operation.moc"
