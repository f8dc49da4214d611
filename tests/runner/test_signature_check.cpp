// The signature and version reading over what avrdude 6.3, 7.1 and 8.1 really
// printed for the same runs against a virtual ATmega8.

#include "recorded_output.h"
#include "runner/signature_check.h"
#include "runner/unresponsive_programmer.h"

#include <QtTest>

namespace {
const QString m8 = QStringLiteral("0x1e9307");
const QString m16 = QStringLiteral("0x1e9403");

ToolDialect dialect(int major)
{
    return ToolDialect{major, 1};
}
} // namespace

class TestSignatureCheck : public QObject {
    Q_OBJECT
private slots:
    void recordedRuns_data()
    {
        QTest::addColumn<QString>("recording");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<bool>("matches");
        // 6.3 prints the line after a progress bar, 7.1 in lower case, 8.1 only with -v.
        QTest::newRow("6.3 probe") << "a1-probe-6.3" << m8 << "0x1e9307" << true;
        QTest::newRow("7.1 probe") << "a1-probe-7.1" << m8 << "0x1e9307" << true;
        QTest::newRow("8.1 probe without -v") << "a1-probe-8.1" << m8 << "" << false;
        QTest::newRow("8.1 probe with -v") << "a2-probe-v-8.1" << m8 << "1E 93 07" << true;
        QTest::newRow("6.3 wrong chip") << "b1-wrongchip-6.3" << m16 << "0x1e9307" << false;
        QTest::newRow("7.1 wrong chip") << "b1-wrongchip-7.1" << m16 << "0x1e9307" << false;
        QTest::newRow("8.1 wrong chip") << "b1-wrongchip-8.1" << m16 << "1E 93 07" << false;
        QTest::newRow("8.1 wrong chip, -F") << "b2-wrongchip-F-8.1" << m16 << "1E 93 07" << false;
        // Retrying lines come first; their eight characters are the signature all the same.
        QTest::newRow("6.3 empty socket") << "g2-chip-none-6.3" << m8 << "0x000000" << false;
        QTest::newRow("7.1 empty socket") << "g2-chip-none-7.1" << m8 << "0x000000" << false;
        QTest::newRow("8.1 empty socket") << "g2-chip-none-8.1" << m8 << "00 00 00" << false;
        QTest::newRow("7.1 all 0xFF") << "g3-chip-none-ff-7.1" << m8 << "0xffffff" << false;
        QTest::newRow("8.1 all 0xFF") << "g3-chip-none-ff-8.1" << m8 << "FF FF FF" << false;
        // No signature line at all: nothing else is taken for one.
        QTest::newRow("6.3 port missing") << "f1-no-port-6.3" << m8 << "" << false;
        QTest::newRow("7.1 port missing") << "f1-no-port-7.1" << m8 << "" << false;
        QTest::newRow("8.1 port missing") << "f1-no-port-8.1" << m8 << "" << false;
        QTest::newRow("8.1 frozen programmer") << "g1-sim-frozen-8.1" << m8 << "" << false;
        QTest::newRow("7.1 frozen programmer") << "g1-sim-frozen-7.1" << m8 << "" << false;
    }

    void recordedRuns()
    {
        QFETCH(QString, recording);
        QFETCH(QString, expected);
        QFETCH(QString, candidate);
        QFETCH(bool, matches);
        const SignatureVerdict v = checkSignature(recorded(recording), expected);
        QCOMPARE(v.candidate, candidate);
        QCOMPARE(v.matches, matches);
    }

    void forcedHighFuseRun_data()
    {
        QTest::addColumn<QString>("recording");
        QTest::addColumn<int>("major");
        QTest::addColumn<bool>("exitedWithZero");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("matches");
        QTest::newRow("7.1 prints the matching line") << "c1-read-hfuse-7.1" << 7 << true << m8 << true;
        QTest::newRow("6.3 prints the matching line") << "c1-read-hfuse-6.3" << 6 << true << m8 << true;
        QTest::newRow("8.1 is silent on a match") << "c1-read-hfuse-8.1" << 8 << true << m8 << true;
        QTest::newRow("silence counts only for 8.x") << "c1-read-hfuse-8.1" << 7 << true << m8 << false;
        QTest::newRow("8.1 silent but failed") << "f1-no-port-8.1" << 8 << false << m8 << false;
        QTest::newRow("8.1 silent, exit 0 but killed") << "c1-read-hfuse-8.1" << 8 << false << m8 << false;
        QTest::newRow("8.1 wrong chip under -F") << "b2-wrongchip-F-8.1" << 8 << true << m16 << false;
        QTest::newRow("8.1 empty socket under -F") << "g4-chip-none-F-8.1" << 8 << true << m8 << false;
        QTest::newRow("7.1 empty socket under -F") << "g4-chip-none-F-7.1" << 7 << true << m8 << false;
    }

    void forcedHighFuseRun()
    {
        QFETCH(QString, recording);
        QFETCH(int, major);
        QFETCH(bool, exitedWithZero);
        QFETCH(QString, expected);
        QFETCH(bool, matches);
        QCOMPARE(checkForcedRunSignature(recorded(recording), exitedWithZero, expected, dialect(major)).matches,
                 matches);
    }

    void comparisonIgnoresCaseBlanksAndPrefix()
    {
        QVERIFY(signatureMatches(QStringLiteral("0x1E9307"), m8));
        QVERIFY(signatureMatches(QStringLiteral("1e 93 07"), m8));
        QVERIFY(!signatureMatches(QStringLiteral("1E 93 0"), m8));
        QVERIFY(!signatureMatches(QStringLiteral("0x"), QStringLiteral("0x")));
        QVERIFY(!signatureMatches(QString(), QString()));
        // CR LF line ends and a short line never lend the candidate other text.
        QCOMPARE(signatureCandidate(QStringLiteral("Device signature = 0x1e\r\nnext")), QStringLiteral("0x1e"));
        QCOMPARE(signatureCandidate(QStringLiteral("device signature\nx = 0x1e9307")), QString());
        // The first line in either spelling counts; no other spelling does.
        QCOMPARE(signatureCandidate(QStringLiteral("device signature = 0x1e9307\nDevice signature = 0x1e9403")),
                 QStringLiteral("0x1e9307"));
        QCOMPARE(signatureCandidate(QStringLiteral("Device signature = 0x1e9403\ndevice signature = 0x1e9307")),
                 QStringLiteral("0x1e9403"));
        QCOMPARE(signatureCandidate(QStringLiteral("DEVICE SIGNATURE = 0x1e9307\n")), QString());
        const QString far = QString(40000, QLatin1Char('x')) + QStringLiteral("device signature = 0x1e9307");
        QVERIFY(checkSignature(far, m8).matches);
    }

    void versionFromTheUsageText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("major"); // -1: no version
        QTest::addColumn<int>("minor");
        QTest::newRow("6.3") << recorded("h1-usage-6.3") << 6 << 3;
        QTest::newRow("7.1") << recorded("h1-usage-7.1") << 7 << 1;
        QTest::newRow("8.1") << recorded("h1-usage-8.1") << 8 << 1;
        QTest::newRow("7.1 refusing --version") << recorded("h2-version-7.1") << 7 << 1;
        QTest::newRow("8.1 --version") << recorded("h2-version-8.1") << 8 << 1;
        QTest::newRow("dated 6.x build") << "avrdude version 6.3-20171130, URL: <http://x/>\n" << 6 << 3;
        QTest::newRow("no version") << "sh: avrdude: not found\n" << -1 << -1;
        QTest::newRow("empty") << QString() << -1 << -1;
    }

    void versionFromTheUsageText()
    {
        QFETCH(QString, text);
        QFETCH(int, major);
        QFETCH(int, minor);
        const std::optional<ToolDialect> d = dialectFromUsage(text);
        QCOMPARE(d ? d->major : -1, major);
        QCOMPARE(d ? d->minor : -1, minor);
    }

    void whatEachVersionImplies()
    {
        const ToolCommand prefix{QStringLiteral("/t/avrdude"),
                                 {QStringLiteral("-p"), QStringLiteral("m8")},
                                 QStringLiteral("/t/avrdude -p m8")};
        QCOMPARE(signatureProbeCommand(prefix, dialect(6)).text, QStringLiteral("/t/avrdude -p m8 -E reset"));
        QCOMPARE(signatureProbeCommand(prefix, dialect(7)).text, QStringLiteral("/t/avrdude -p m8 -E reset"));
        const ToolCommand probe8 = signatureProbeCommand(prefix, dialect(8));
        QCOMPARE(probe8.text, QStringLiteral("/t/avrdude -p m8 -E reset -v"));
        QCOMPARE(probe8.arguments, (QStringList{"-p", "m8", "-E", "reset", "-v"}));
        QVERIFY(dialect(6).hasSafeMode() && !dialect(7).hasSafeMode() && !dialect(8).hasSafeMode());
        QCOMPARE(ToolDialect::assumed().major, 7);
    }

    void unresponsiveWatchIsQuietWith81()
    {
        // 8.1 gives up on a frozen programmer by itself, with other words.
        QVERIFY(!UnresponsiveProgrammerWatch()(recorded("g1-sim-frozen-8.1").toUtf8(), 0));
        QVERIFY(UnresponsiveProgrammerWatch()(recorded("g1-sim-frozen-7.1").toUtf8(), 0));
    }
};

QTEST_GUILESS_MAIN(TestSignatureCheck)
#include "test_signature_check.moc"
