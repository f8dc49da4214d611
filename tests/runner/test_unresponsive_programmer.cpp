#include "runner/unresponsive_programmer.h"
#include "test_suite.h"

#include <QtTest>

namespace {
// The verdict on a whole output seen at once.
bool programmerIsUnresponsive(const QByteArray &output)
{
    return UnresponsiveProgrammerWatch()(output, 0);
}
} // namespace

class TestUnresponsiveProgrammer : public QObject {
    Q_OBJECT
private slots:
    void threeComplaintsGiveUp()
    {
        const QByteArray one("avrdude error: programmer is not responding\n");
        QVERIFY(!programmerIsUnresponsive(QByteArray()));
        QVERIFY(!programmerIsUnresponsive(one));
        QVERIFY(!programmerIsUnresponsive(one + "avrdude: device signature = 0x1e9307\n" + one));
        QVERIFY(programmerIsUnresponsive(one + one + one));
    }

    void growingOutputGivesTheSameVerdictWhereverReadsSplitIt()
    {
        const QByteArray one("avrdude error: programmer is not responding\n");
        const QByteArray noise("avrdude: retrying\n");
        for (int complaints = 0; complaints <= 4; ++complaints) {
            QByteArray whole = noise;
            for (int i = 0; i < complaints; ++i)
                whole += one + noise;
            for (int step : {1, 3, 7, 28, 29, 1000}) {
                UnresponsiveProgrammerWatch watch;
                // A watch that saw an earlier run starts afresh.
                watch(one + one + one, 0);
                bool verdict = false;
                QByteArray grown;
                for (qsizetype at = 0; at < whole.size(); at += step) {
                    const qsizetype newFrom = grown.size();
                    grown += whole.mid(at, step);
                    verdict = watch(grown, newFrom);
                }
                QCOMPARE(verdict, programmerIsUnresponsive(whole));
                QCOMPARE(verdict, complaints >= 3);
            }
        }
    }

    void otherFailuresAreLeftToTheTool()
    {
        QVERIFY(!programmerIsUnresponsive(QByteArray(
            "avrdude error: programmer is not respondin\navrdude error: Yikes!  Invalid device signature.\n"
            "avrdude error: Yikes!  Invalid device signature.\navrdude error: Yikes!  Invalid device signature.\n")));
    }
};

FW_TEST_CLASS(TestUnresponsiveProgrammer)
#include "test_unresponsive_programmer.moc"
