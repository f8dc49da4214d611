// What the runner captures: every byte, in the order written, decoded once.

#include "emitter_command.h"
#include "emitter_pattern.h"
#include "runner/command_runner.h"
#include "test_deadline.h"
#include "test_suite.h"

#include <QtTest>

using fw_test::emitterCommand;

class RunnerOutputTest : public QObject {
    Q_OBJECT

private:
    static RunOutcome runSteps(const QStringList &steps)
    {
        CommandRunner runner;
        return runner.run(emitterCommand(steps));
    }
    static bool ranToTheEnd(const RunOutcome &o)
    {
        return o.failure == RunOutcome::Failure::None && o.errorNumber == 0 && !o.interrupted;
    }

private slots:
    void initTestCase() { fw_test::failIfStillRunningAfter(120); }

    void silentToolGivesEmptyText()
    {
        const RunOutcome o = runSteps({});
        QVERIFY(ranToTheEnd(o));
        QVERIFY(o.bytes.isEmpty());
        QVERIFY(o.text.isEmpty());
    }

    void outputAndErrorKeepTheirOrder()
    {
        // Pauses between the writes: each one surely reaches the pipe before the next.
        const RunOutcome o = runSteps({"out:o1 ", "sleep:15", "err:e1 ", "sleep:15", "out:o2 ", "sleep:15", "err:e2 ",
                                       "sleep:15", "err:e3 ", "out:o3"});
        QVERIFY(ranToTheEnd(o));
        QCOMPARE(o.text, QStringLiteral("o1 e1 o2 e2 e3 o3"));
    }

    void rapidAlternationKeepsItsOrder()
    {
        const int lines = 2000;
        const RunOutcome o = runSteps({QStringLiteral("alternate:%1").arg(lines)});
        QByteArray expected;
        for (int i = 0; i < lines; ++i)
            expected += "o" + QByteArray::number(i) + "\ne" + QByteArray::number(i) + "\n";
        QVERIFY(ranToTheEnd(o));
        QCOMPARE(o.bytes.size(), expected.size());
        QCOMPARE(o.bytes, expected);
    }

    void everyByteArrives_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {1, 255, 256, 257, 4095, 4096, 4097, 65536, 200 * 1024, 1024 * 1024 + 13})
            QTest::addRow("%d", size) << size;
    }
    void everyByteArrives()
    {
        QFETCH(int, size);
        const RunOutcome o = runSteps({QStringLiteral("pattern:%1").arg(size)});
        QVERIFY(ranToTheEnd(o));
        QCOMPARE(o.bytes.size(), qsizetype(size));
        for (int i = 0; i < size; ++i) {
            if (static_cast<unsigned char>(o.bytes.at(i)) != fw_test::patternByte(i))
                QFAIL(qPrintable(QStringLiteral("first wrong byte at offset %1").arg(i)));
        }
        QCOMPARE(o.text.size(), QString::fromLocal8Bit(o.bytes).size());
    }

    void characterSplitAcrossWritesComesOutWhole_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        const QString e = QString(QChar(0xE9));
        const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("2-byte 1|1") << QStringList{"out:caf", "hexout:C3", "sleep:40", "hexout:A9", "out:!"}
                                    << QStringLiteral("caf") + e + "!";
        QTest::newRow("4-byte 1|3") << QStringList{"hexout:F0", "sleep:40", "hexout:9F9880"} << smile;
        QTest::newRow("4-byte 2|2") << QStringList{"hexout:F09F", "sleep:40", "hexout:9880", "out:."} << smile + ".";
        QTest::newRow("4-byte 3|1") << QStringList{"hexout:F09F98", "sleep:40", "hexout:80"} << smile;
        // The split falls on the boundary of the runner's 64 KiB reads.
        QTest::newRow("at read boundary")
            << QStringList{"out:" + QString(65535, 'a'), "hexout:C3", "sleep:40", "hexout:A9"}
            << QString(65535, 'a') + e;
    }
    void characterSplitAcrossWritesComesOutWhole()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        const RunOutcome o = runSteps(steps);
        QVERIFY(ranToTheEnd(o));
        QCOMPARE(o.text, expected);
    }

    void invalidBytesDoNotSwallowTheRest()
    {
        const RunOutcome o =
            runSteps({"out:before ", "hexout:FFFE", "sleep:20", "hexout:C328", "out:after\n", "err:error line\n"});
        QVERIFY(ranToTheEnd(o));
        QCOMPARE(o.bytes, QByteArray("before \xFF\xFE\xC3(after\nerror line\n"));
        QVERIFY2(o.text.startsWith(QStringLiteral("before ")), qPrintable(o.text));
        QVERIFY2(o.text.endsWith(QStringLiteral("(after\nerror line\n")), qPrintable(o.text));
        QVERIFY(o.text.contains(QChar(QChar::ReplacementCharacter)));
        // Whatever the bytes, the text is their decoding in the system's narrow encoding.
        QCOMPARE(o.text, QString::fromLocal8Bit(o.bytes));
    }
};

FW_TEST_CLASS(RunnerOutputTest)
#include "tst_runner_output.moc"
