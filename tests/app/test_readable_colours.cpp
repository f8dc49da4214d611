// Legible colours: the contrast ratio against known figures, what replaces an
// unreadable pair, and the pane and image-path boxes under the default
// palette and a dark desktop palette.

#include "app/readable_colours.h"
#include "app_test_main.h"
#include "window_fixture.h"

namespace {
// The pane, then both path boxes, as shown: background and text.
QList<ColourPair> shownPairs(WindowFixture &f)
{
    QList<ColourPair> pairs;
    for (const char *name : {"txtOutput", "txtFlash", "txtEEPROM"}) {
        const QPalette p = f.find<QWidget>(name)->palette();
        pairs << ColourPair{p.color(QPalette::Base), p.color(QPalette::Text)};
    }
    return pairs;
}
bool allLegible(const QList<ColourPair> &pairs)
{
    return std::all_of(pairs.begin(), pairs.end(), [](auto &p) { return contrastRatio(p.background, p.text) >= 4.5; });
}
} // namespace

class TestReadableColours : public QObject {
    Q_OBJECT
private slots:
    void contrastAndFallbacks()
    {
        const QColor black(Qt::black), white(Qt::white), grey76("#767676"), grey77("#777777"), blue("#308cc6");
        const struct {
            QColor a, b;
            double ratio;
        } table[] = {{black, white, 21.0},
                     {white, white, 1.0},
                     {grey76, white, 4.54},
                     {grey77, white, 4.48},
                     {blue, white, 3.69}};
        for (const auto &row : table)
            QVERIFY2(qAbs(contrastRatio(row.a, row.b) - row.ratio) < 0.01, qPrintable(row.a.name()));
        QCOMPARE(contrastRatio(white, black), 21.0);

        QCOMPARE(legiblePair({white, grey76}).text, grey76);
        QCOMPARE(legiblePair({white, grey77}).background, black);
        QCOMPARE(legiblePair({white, QColor("#f9f9f9")}).text, white);
        // An unreadable text colour keeps its hue and moves only as far as needed.
        QCOMPARE(legibleText(grey76, white), grey76);
        for (const auto &[text, background] : {std::pair{blue, white}, {QColor("#12608a"), QColor("#3d3d3d")}}) {
            const double ratio = contrastRatio(legibleText(text, background), background);
            QVERIFY(ratio >= 4.5 && ratio < 4.7 && qAbs(legibleText(text, background).hsvHue() - text.hsvHue()) <= 2);
        }
    }

    void legibleUnderDefaultAndDarkPalettes()
    {
        // As qt6ct's "darker" scheme has it: window-frame and caption-text colours both near white.
        QPalette dark(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
        dark.setColor(QPalette::Highlight, QColor(0x12, 0x60, 0x8a));
        dark.setColor(QPalette::HighlightedText, QColor(0xf9, 0xf9, 0xf9));
        const QPalette original = QApplication::palette();

        WindowFixture light;
        frmMain &w = light.open();
        QCOMPARE(shownPairs(light)[0].background, w.palette().color(QPalette::WindowText)); // as specified
        QCOMPARE(shownPairs(light)[0].text, w.palette().color(QPalette::HighlightedText));
        QVERIFY(allLegible(shownPairs(light)));
        // The desktop turns dark while the program runs: the toolkit tells every
        // widget once its event loop runs, as here by hand.
        QApplication::setPalette(dark);
        QEvent changed(QEvent::ApplicationPaletteChange);
        for (QWidget *widget : QList<QWidget *>{&w} + w.findChildren<QWidget *>())
            QCoreApplication::sendEvent(widget, &changed);
        QVERIFY(allLegible(shownPairs(light)));

        WindowFixture started;
        QCOMPARE(started.open().palette().color(QPalette::HighlightedText), dark.color(QPalette::HighlightedText));
        QCOMPARE(shownPairs(started)[0].background, QColor(Qt::black));
        QCOMPARE(shownPairs(started)[0].text, QColor(Qt::white));
        QVERIFY(allLegible(shownPairs(started)));
        QApplication::setPalette(original);
    }
};

FW_APP_TEST_MAIN(TestReadableColours)
#include "test_readable_colours.moc"
