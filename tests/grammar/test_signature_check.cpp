#include "runner/signature_check.h"

#include <QtTest>

class TestSignatureCheck : public QObject {
    Q_OBJECT
private slots:
    void avrdude71LineIsFound()
    {
        const QString out = QStringLiteral(
            "\navrdude: AVR device initialized and ready to accept instructions\n\n"
            "Reading | ################################################## | 100% 0.00s\n\n"
            "avrdude: device signature = 0x1e9307 (probably m8)\n\navrdude done.  Thank you.\n\n");
        const SignatureVerdict v = checkSignature(out, QStringLiteral("0x1e9307"));
        QVERIFY(v.matches);
        QCOMPARE(v.candidate, QStringLiteral("0x1e9307"));
    }

    void olderUpperCaseLineIsFound()
    {
        const QString out = QStringLiteral("avrdude: Device signature = 0x1e9403\n");
        QVERIFY(checkSignature(out, QStringLiteral("0x1e9403")).matches);
    }

    void upperCaseDigitsPass()
    {
        const QString out = QStringLiteral("avrdude: Device signature = 0x1E9307\n");
        const SignatureVerdict v = checkSignature(out, QStringLiteral("0x1e9307"));
        QVERIFY(v.matches);
        QCOMPARE(v.candidate, QStringLiteral("0x1E9307"));
    }

    void differentChipIsRefused()
    {
        const QString out = QStringLiteral("avrdude: device signature = 0x1e9403 (probably m16)\n");
        const SignatureVerdict v = checkSignature(out, QStringLiteral("0x1e9307"));
        QVERIFY(!v.matches);
        QCOMPARE(v.candidate, QStringLiteral("0x1e9403"));
    }

    void noChipReadsAsZeros()
    {
        const QString out = QStringLiteral(
            "avrdude: device signature = 0x000000\navrdude error: Yikes!  Invalid device signature.\n");
        const SignatureVerdict v = checkSignature(out, QStringLiteral("0x1e9307"));
        QVERIFY(!v.matches);
        QCOMPARE(v.candidate, QStringLiteral("0x000000"));
    }

    void missingLineTakesCharactersFromThe19th()
    {
        const QString out = QStringLiteral("avrdude error: programmer is not responding\n");
        // Position 0 plus 19: the 8 characters starting at the 19th character.
        QCOMPARE(signatureCandidate(out), out.mid(18, 8));
        QCOMPARE(signatureCandidate(out), QStringLiteral("grammer "));
        QVERIFY(!checkSignature(out, QStringLiteral("0x1e9307")).matches);
    }

    void shortTextsGiveShortOrEmptyCandidates()
    {
        QCOMPARE(signatureCandidate(QString()), QString());
        QCOMPARE(signatureCandidate(QStringLiteral("0123456789abcdefghij")), QStringLiteral("ij"));
        QCOMPARE(signatureCandidate(QStringLiteral("Device signature = 0x1e")), QStringLiteral("0x1e"));
        QVERIFY(!checkSignature(QStringLiteral("Device signature = 0x1e"), QStringLiteral("0x1e9307")).matches);
        QVERIFY(!checkSignature(QString(), QStringLiteral("0x1e9307")).matches);
    }

    void firstOccurrenceOfEitherSpellingCounts()
    {
        const QString out = QStringLiteral("device signature = 0x1e9307\nDevice signature = 0x1e9403\n");
        QCOMPARE(signatureCandidate(out), QStringLiteral("0x1e9307"));
        const QString swapped = QStringLiteral("Device signature = 0x1e9403\ndevice signature = 0x1e9307\n");
        QCOMPARE(signatureCandidate(swapped), QStringLiteral("0x1e9403"));
    }

    void otherSpellingsAreNotFound()
    {
        // Only the first letter may change case.
        const QString out = QStringLiteral("DEVICE SIGNATURE = 0x1e9307\n");
        QCOMPARE(signatureCandidate(out), out.mid(18, 8));
        QVERIFY(!checkSignature(out, QStringLiteral("0x1e9307")).matches);
    }

    void matchAtTheVeryStart()
    {
        QCOMPARE(signatureCandidate(QStringLiteral("Device signature = 0x1e9307")), QStringLiteral("0x1e9307"));
    }

    void signatureFarIntoALongTextIsStillFound()
    {
        const QString out = QString(40000, QLatin1Char('x')) + QStringLiteral("device signature = 0x1e9307");
        QVERIFY(checkSignature(out, QStringLiteral("0x1e9307")).matches);
    }

    void emptyExpectationNeverMatches()
    {
        QVERIFY(!checkSignature(QString(), QString()).matches);
    }

    void mismatchMessage()
    {
        QCOMPARE(signatureMismatchMessage(QStringLiteral("0x1e9403")),
                 QStringLiteral("编程器或器件错误\r\nDevice signature=0x1e9403"));
        QCOMPARE(signatureMismatchMessage(QString()), QStringLiteral("编程器或器件错误\r\nDevice signature="));
    }
};

QTEST_GUILESS_MAIN(TestSignatureCheck)
#include "test_signature_check.moc"
