// What the pane widget shows for a text: plain line breaks, and lines no
// longer than the widget can lay out cheaply, whatever way the text arrives.

#include "app/line_break_converter.h"

#include <QTest>

class TestLineBreakConverter : public QObject {
    Q_OBJECT
private slots:
    void lineBreaksBecomePlain()
    {
        QCOMPARE(LineBreakConverter().convert(u"a\r\nb\rc\nd\r\n\r\ne"), QStringLiteral("a\nb\nc\nd\n\ne"));
        QCOMPARE(LineBreakConverter().convert(u""), QString());
    }

    void longLinesGoOnInTheNextShownLine()
    {
        constexpr qsizetype n = LineBreakConverter::longestShownLine;
        const QString exact(n, u'x');
        QCOMPARE(LineBreakConverter().convert(exact + QStringLiteral("\r\n") + exact), exact + u'\n' + exact);
        const QString shown = LineBreakConverter().convert(QString(2 * n + 5, u'y') + QStringLiteral("\nz"));
        QCOMPARE(shown, QString(n, u'y') + u'\n' + QString(n, u'y') + u'\n' + QString(5, u'y') + QStringLiteral("\nz"));
        // A character outside the BMP is never cut in two.
        const QString pair = QString(n - 1, u'a') + QString::fromUcs4(U"\U0001F600") + u'b';
        QCOMPARE(LineBreakConverter().convert(pair),
                 QString(n - 1, u'a') + QString::fromUcs4(U"\U0001F600") + QStringLiteral("\nb"));
    }

    void pieceByPieceEqualsAllAtOnce()
    {
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += QString(i % 97 == 0 ? 9000 : i % 13, QChar(u'a' + i % 26))
                    + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
        const QString whole = LineBreakConverter().convert(text);
        for (qsizetype piece : {1, 7, 4096, 5000}) {
            LineBreakConverter display;
            QString pieces;
            for (qsizetype at = 0; at < text.size(); at += piece) {
                QStringView part = QStringView(text).mid(at, piece);
                // A CR at the end of a piece waits for what follows, as the live pane does.
                if (part.endsWith(u'\r') && at + piece < text.size()) {
                    part = QStringView(text).mid(at, piece + 1);
                    at += 1;
                }
                pieces += display.convert(part);
            }
            QCOMPARE(pieces, whole);
        }
    }
};

QTEST_GUILESS_MAIN(TestLineBreakConverter)
#include "test_line_break_converter.moc"
