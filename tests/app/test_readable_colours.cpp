// Legible colours: the contrast ratio against known figures, what replaces an
// unreadable pair, and the output pane and the image-path boxes under the
// default palette and under a dark desktop palette.

#include "app/readable_colours.h"
#include "app_test_main.h"
#include "window_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
// The roles as qt6ct's "darker" scheme hands them over: window-frame and
// caption-text colours both come out near white.
QPalette darkPalette()
{
    QPalette p(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x12, 0x60, 0x8a));
    p.setColor(QPalette::HighlightedText, QColor(0xf9, 0xf9, 0xf9));
    return p;
}

// The pane and both path boxes, each as (background, text).
QList<ColourPair> shownPairs(WindowFixture &f)
{
    QList<ColourPair> pairs;
    const QPalette pane = f.find<QPlainTextEdit>("txtOutput")->palette();
    pairs << ColourPair{pane.color(QPalette::Base), pane.color(QPalette::Text)};
    for (const char *name : {"txtFlash", "txtEEPROM"}) {
        const QPalette p = f.find<QLineEdit>(name)->palette();
        pairs << ColourPair{p.color(QPalette::Base), p.color(QPalette::Text)};
    }
    return pairs;
}
} // namespace

class TestReadableColours : public QObject {
    Q_OBJECT
private slots:
    void contrastAndFallbacks()
    {
        const QColor black(Qt::black), white(Qt::white), grey76("#767676"), grey77("#777777"), blue("#308cc6");
        const struct { QColor a, b; double ratio; } table[] = {
            {black, white, 21.0}, {white, black, 21.0}, {white, white, 1.0}, {grey76, white, 4.54},
            {grey77, white, 4.48}, {blue, white, 3.69}, {QColor("#f9f9f9"), white, 1.05}};
        for (const auto &row : table)
            QVERIFY2(qAbs(contrastRatio(row.a, row.b) - row.ratio) < 0.01, qPrintable(row.a.name() + row.b.name()));

        QCOMPARE(legiblePair({black, white}).text, white);
        QCOMPARE(legiblePair({white, grey76}).text, grey76);
        for (const ColourPair &bad : {ColourPair{white, QColor("#f9f9f9")}, ColourPair{white, grey77}}) {
            QCOMPARE(legiblePair(bad).background, black);
            QCOMPARE(legiblePair(bad).text, white);
        }

        // An unreadable text colour keeps its hue and moves only as far as needed.
        QCOMPARE(legibleText(grey76, white), grey76);
        for (const auto &[text, background] : {std::pair{blue, white}, {QColor("#12608a"), QColor("#3d3d3d")}}) {
            const QColor shown = legibleText(text, background);
            QVERIFY(contrastRatio(shown, background) >= 4.5 && contrastRatio(shown, background) < 4.7);
            QVERIFY(qAbs(shown.hsvHue() - text.hsvHue()) <= 2);
        }
    }

    void legibleUnderDefaultAndDarkPalettes()
    {
        const QPalette original = QApplication::palette();
        {
            WindowFixture f;
            frmMain &w = f.open();
            const QList<ColourPair> pairs = shownPairs(f);
            // The specified look where the palette allows it.
            QCOMPARE(pairs[0].background, w.palette().color(QPalette::WindowText));
            QCOMPARE(pairs[0].text, w.palette().color(QPalette::HighlightedText));
            for (const ColourPair &p : pairs)
                QVERIFY(contrastRatio(p.background, p.text) >= 4.5);
            // The desktop turns dark while the program runs.
            QApplication::setPalette(darkPalette());
            for (const ColourPair &p : shownPairs(f))
                QVERIFY2(contrastRatio(p.background, p.text) >= 4.5, qPrintable(p.background.name() + p.text.name()));
        }
        {
            WindowFixture f;
            f.open();
            const QList<ColourPair> pairs = shownPairs(f);
            QCOMPARE(pairs[0].background, QColor(Qt::black));
            QCOMPARE(pairs[0].text, QColor(Qt::white));
            for (const ColourPair &p : pairs)
                QVERIFY(contrastRatio(p.background, p.text) >= 4.5);
        }
        QApplication::setPalette(original);
    }
};

FW_APP_TEST_MAIN(TestReadableColours)
#include "test_readable_colours.moc"
