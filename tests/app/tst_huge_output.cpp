// A tool that floods the pane: 100 MB of lines, one 100 MB line, 100 MB of
// binary garbage. The run completes, the pane holds all of it and stays
// usable, and memory grows with the text only.

#include "app_test_main.h"
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <QFile>

namespace {
// The kernel's high-water mark of this process's resident memory, which
// writing 5 to clear_refs sets back to the present size.
void resetPeakRss()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
long peakRssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}
constexpr qint64 floodBytes = 100'000'000;
} // namespace

class TstHugeOutput : public QObject {
    Q_OBJECT
private slots:
    void floodEndsUpWholeInAPaneThatStillWorks_data()
    {
        QTest::addColumn<QByteArray>("flood");
        QTest::addColumn<bool>("text");
        QTest::newRow("lines") << QByteArray("yes 'avrdude: writing flash #########################'") << true;
        QTest::newRow("one line") << QByteArray("tr '\\0' x < /dev/zero") << true;
        QTest::newRow("binary garbage") << QByteArray("cat /dev/urandom") << false;
    }
    void floodEndsUpWholeInAPaneThatStillWorks()
    {
        QFETCH(QByteArray, flood);
        QFETCH(bool, text);
        WindowFixture f;
        f.installFakeTool(flood + " | head -c " + QByteArray::number(floodBytes));
        frmMain &w = f.open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        resetPeakRss();
        const long before = peakRssKiB();
        w.cmdRst_Click();

        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.operationButtonsEnabled());
        const QString pane = f.paneText();
        QVERIFY(pane.startsWith(w.strCommand.text + QStringLiteral("\r\n")));
        if (text)
            QCOMPARE(pane.size(), w.strCommand.text.size() + 2 + floodBytes);
        else // every byte is there, undecodable ones as replacement characters
            QVERIFY(pane.size() > w.strCommand.text.size() + floodBytes / 2);

        // The view scrolls and paints without laying out megabytes at once.
        auto *view = f.find<QPlainTextEdit>("txtOutput");
        QElapsedTimer clock;
        clock.start();
        view->moveCursor(QTextCursor::End);
        view->repaint();
        QApplication::processEvents();
        qInfo("%s: peak memory grew by %ld MiB; scrolling to the end and painting took %lld ms",
              QTest::currentDataTag(), (peakRssKiB() - before) / 1024, clock.elapsed());
        // Bytes, their UTF-16 text, the pane's copy and the view's document:
        // a small multiple of the text, never the layout of one huge line.
        QVERIFY(peakRssKiB() - before < 16 * floodBytes / 1024);
    }
};

FW_APP_TEST_MAIN(TstHugeOutput)
#include "tst_huge_output.moc"
