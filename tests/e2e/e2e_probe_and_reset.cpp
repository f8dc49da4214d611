// End to end: the window's command lines through the real avrdude to the
// virtual programmer, for the signature probe and the reset.

#include "app_test_main.h"
#include "sim_bench.h"

#include <QRegularExpression>

class E2eProbeAndReset : public QObject {
    Q_OBJECT
private slots:
    void probePassesForTheChipOnTheProgrammer_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("block");
        QTest::newRow("ATmega8, block mode") << "m8"
                                             << "ATmega8"
                                             << "128";
        QTest::newRow("ATmega16, classic AVR910") << "m16"
                                                  << "ATmega16"
                                                  << "0";
    }
    void probePassesForTheChipOnTheProgrammer()
    {
        QFETCH(QString, chip);
        QFETCH(QString, device);
        QFETCH(QString, block);
        SimBench bench(chip, {QStringLiteral("--block"), block});
        REQUIRE_BENCH(bench);
        bench.fixture().chooseAll(device, QStringLiteral("avr910"), QStringLiteral("com1"));
        QVERIFY(bench.fixture().probeOnly());
        QVERIFY(bench.fixture().dialogs.messages.isEmpty());
        QVERIFY(bench.window().strCommand.text.endsWith(QStringLiteral(" -c avr910 -P /dev/ttyS0 -E reset")));
        // The probe touches no memory.
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")).count(char(0xFF)),
                 bench.stateFile(QStringLiteral("flash.bin")).size());
    }

    void wrongChipIsRefusedWithItsSignature()
    {
        SimBench bench(QStringLiteral("m16"));
        REQUIRE_BENCH(bench);
        bench.fixture().chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QVERIFY(!bench.fixture().probeOnly());
        // The pane shows the probe and the tool's own reason.
        const QString pane = bench.fixture().paneText();
        QVERIFY2(pane.startsWith(bench.window().strCommand.text + QStringLiteral("\r\n")), qPrintable(pane));
        QVERIFY2(pane.contains(QStringLiteral("expected signature for ATmega8 is 1E 93 07")), qPrintable(pane));
        const auto &shown = bench.fixture().dialogs.messages;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("编程器或器件错误\r\nDevice signature=0x1e9403"));
        QCOMPARE(shown[0].title, QStringLiteral("错误"));
        QCOMPARE(shown[0].icon, MessageIcon::Critical);
    }

    void missingChipIsRefused()
    {
        SimBench bench(QStringLiteral("none"));
        REQUIRE_BENCH(bench);
        bench.fixture().chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QVERIFY(!bench.fixture().probeOnly());
        const auto &shown = bench.fixture().dialogs.messages;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("编程器或器件错误\r\nDevice signature=0x000000"));
    }

    void silentProgrammerEndsInTheSignatureError()
    {
        // avrdude itself would wait for ever; the window gives the run up.
        SimBench bench(QStringLiteral("m8"), {QStringLiteral("--silent")});
        REQUIRE_BENCH(bench);
        bench.fixture().chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QVERIFY(!bench.fixture().probeOnly());
        const auto &shown = bench.fixture().dialogs.messages;
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("编程器或器件错误\r\nDevice signature=")));
        QVERIFY(bench.fixture().operationButtonsEnabled());
    }

    void resetRunsTheRealToolAndShowsItsText()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        bench.fixture().chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        bench.window().cmdRst_Click();
        const QString tools = bench.fixture().toolsFolder();
        const QString line = tools + QStringLiteral("/avrdude -p m8 -C ") + tools
                             + QStringLiteral("/avrdude.conf -c avr910 -P /dev/ttyS0 -E reset");
        QCOMPARE(bench.window().strCommand.text, line);
        const QString pane = bench.fixture().paneText();
        QVERIFY2(pane.startsWith(line + QStringLiteral("\r\n")), qPrintable(pane));
        QVERIFY2(pane.contains(QStringLiteral("device signature = 0x1e9307")), qPrintable(pane));
        QVERIFY2(pane.contains(QStringLiteral("avrdude done.  Thank you.")), qPrintable(pane));
        QVERIFY(bench.fixture().dialogs.messages.isEmpty());
    }
};

FW_APP_TEST_MAIN(E2eProbeAndReset)
#include "e2e_probe_and_reset.moc"
