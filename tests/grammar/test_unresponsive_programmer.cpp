#include "runner/unresponsive_programmer.h"

#include <QtTest>

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

    void otherFailuresAreLeftToTheTool()
    {
        QVERIFY(!programmerIsUnresponsive(QByteArray(
            "avrdude error: programmer is not respondin\navrdude error: Yikes!  Invalid device signature.\n"
            "avrdude error: Yikes!  Invalid device signature.\navrdude error: Yikes!  Invalid device signature.\n")));
    }
};

QTEST_GUILESS_MAIN(TestUnresponsiveProgrammer)
#include "test_unresponsive_programmer.moc"
