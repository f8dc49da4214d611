#include "fuses/byte_display.h"
#include "fuses/clock_presets.h"
#include "fuses/exchange_files.h"
#include "fuses/fuse_commands.h"
#include "fuses/fuse_read_report.h"
#include "runner/command_grammar.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using fusepanel::FuseByte;

namespace {
const FuseByte rows[] = {FuseByte::Lock, FuseByte::HighFuse, FuseByte::LowFuse};

PanelTicks pattern(unsigned seed)
{
    PanelTicks t{};
    for (size_t i = 0; i < t.size(); ++i)
        t[i] = (seed >> (i % 16)) & 1u;
    return t;
}
} // namespace

class TestFuseBytes : public QObject {
    Q_OBJECT
private slots:
    void everyByteThroughReadMapThenWriteMap()
    {
        for (FuseByte row : rows) {
            for (int v = 0; v < 256; ++v) {
                const PanelTicks before = pattern(unsigned(v) * 2654435761u);
                PanelTicks ticks = before;
                spreadByte(row, quint8(v), ticks);
                QCOMPARE(int(composeByte(row, ticks)), row == FuseByte::Lock ? v & 0x3F : v);
                for (int i = 0; i < 32; ++i) {
                    if (fusepanel::byteOfBox(i) != row)
                        QCOMPARE(ticks[size_t(i)], before[size_t(i)]);
                    else if (i == 8 || i == 9)
                        QVERIFY(!ticks[size_t(i)]);
                    else
                        QCOMPARE(ticks[size_t(i)], !(v & (1 << fusepanel::bitOfBox(i))));
                }
            }
        }
    }

    void writeMapIgnoresBoxesZeroToNine()
    {
        for (unsigned seed : {0u, 0xFFFFu, 0x1234u}) {
            PanelTicks t = pattern(seed);
            const FuseBytes a = composeFromPanel(t);
            for (int i = 0; i < 10; ++i)
                t[size_t(i)] = !t[size_t(i)];
            const FuseBytes b = composeFromPanel(t);
            QVERIFY(a.lfuse == b.lfuse && a.hfuse == b.hfuse && a.lock == b.lock);
        }
        const FuseBytes clear = composeFromPanel(PanelTicks{});
        QVERIFY(clear.lfuse == 0xFF && clear.hfuse == 0xFF && clear.lock == 0x3F);
        PanelTicks all;
        all.fill(true);
        const FuseBytes ticked = composeFromPanel(all);
        QVERIFY(ticked.lfuse == 0 && ticked.hfuse == 0 && ticked.lock == 0);
    }

    void clockPresetsSetOnlyTheClockSelectBits()
    {
        const QString nibbles = QStringLiteral("1234BDF905678");
        QCOMPARE(clockPresetTexts().size(), nibbles.size());
        for (int p = 0; p < nibbles.size(); ++p) {
            for (unsigned seed : {0u, 0xFFFFu, 0xA5C3u}) {
                PanelTicks ticks = pattern(seed);
                const PanelTicks before = ticks;
                QVERIFY(applyClockPreset(clockPresetTexts().at(p), ticks));
                QCOMPARE(composeByte(FuseByte::LowFuse, ticks) & 0x0F, nibbles.mid(p, 1).toInt(nullptr, 16));
                for (int i = 0; i < 28; ++i)
                    QCOMPARE(ticks[size_t(i)], before[size_t(i)]);
            }
        }
        PanelTicks ticks{};
        QVERIFY(!applyClockPreset(QStringLiteral("内部RC 1MHz "), ticks));
        QVERIFY(!applyClockPreset(QStringLiteral("内部rc 1MHz"), ticks));
        QCOMPARE(ticks, PanelTicks{});
    }

    void byteDisplay()
    {
        for (int v = 0; v < 256; ++v)
            QCOMPARE(byteDisplayText(quint8(v)), QString::asprintf("0x%X", v));
        const QByteArray bytes("\xA5\x08\x00\x10\x33", 5);
        for (int n = 0; n <= 5; ++n) {
            const auto t = calibrationTexts(bytes.left(n));
            const QStringList expected = QStringList({"0xA5", "0x8", "0x0", "0x10"}).mid(0, n);
            QCOMPARE(QStringList(t.begin(), t.end()), expected + QStringList(4 - expected.size(), QString()));
        }
    }

    void commandLines()
    {
        const platform::PathRendering win = platform::windowsRendering();
        const ToolCommand prefix = grammar::commandPrefix(win, "D:\\prog", {"m8", "usbasp", "usb"});
        const QString head = "D:\\prog\\tools\\avrdude.exe -p m8 -C D:\\prog\\tools\\avrdude.conf -c usbasp -P usb";
        const QString exchange = readExchangePath(win, "D:\\prog");
        QStringList lines;
        for (FuseByte byte : fuseReadOrder())
            lines << fuseReadCommand(prefix, byte, exchange).text;
        QCOMPARE(lines, QStringList({head + " -U hfuse:r:\"D:\\prog\\tools\\fuse.bin\":r -F",
                                     head + " -U lfuse:r:\"D:\\prog\\tools\\fuse.bin\":r",
                                     head + " -U lock:r:\"D:\\prog\\tools\\fuse.bin\":r"}));
        QCOMPARE(fuseReadCommand(prefix, FuseByte::HighFuse, exchange).arguments.mid(8),
                 QStringList({"-U", "hfuse:r:D:\\prog\\tools\\fuse.bin:r", "-F"}));
        QCOMPARE(fuseWriteCommand(prefix, writeExchangePaths(win, "D:\\prog")).text,
                 head + " -U lfuse:w:\"D:\\prog\\tools\\lfuse.bin\":r -U hfuse:w:\"D:\\prog\\tools\\hfuse.bin\":r"
                        " -U lock:w:\"D:\\prog\\tools\\lock.bin\":r -u");
        const CommandFragment cal = calibrationFragment(exchange);
        QCOMPARE(cal.text, " -U calibration:r:\"D:\\prog\\tools\\fuse.bin\":r");
        QCOMPARE(calibrationCommand(prefix, cal).text, head + cal.text + " -F");
    }

    void readReportsByChip()
    {
        QCOMPARE(secondSignatureReport("m8", "0x000000").text, "编程器或器件错误\r\nDevice signature=0x000000");
        QCOMPARE(secondSignatureReport("m8", "").title, "错误");
        QCOMPARE(secondSignatureReport("m16", "0x000000").text, "编程器或器件错误");
        QCOMPARE(secondSignatureReport("m16", "").title, "提示");
        QCOMPARE(paneAfterByteRuns("m8", "line", "abc"), "abc");
        QCOMPARE(paneAfterByteRuns("m16", "line", "abc"), "lineabc");
    }

    void exchangeFilesHoldOneByteAndFailuresAreNamed()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("tools");
        const WriteExchangePaths files = writeExchangePaths(platform::posixRendering(), dir.path());
        QFile stale(files.lfuse);   // longer than one byte: truncated
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("abc") == 3);
        stale.close();
        QCOMPARE(writeFuseExchangeFiles(files, FuseBytes{0xFF, 0x00, 0x3F}), QString());
        QCOMPARE(readLeadingBytes(files.lfuse, 4) + readLeadingBytes(files.hfuse, 4) + readLeadingBytes(files.lock, 4),
                 QByteArray("\x00\xFF\x3F", 3));   // lfuse, hfuse, lock
        QCOMPARE(removeExchangeFiles({files.lock, files.lfuse, files.hfuse, files.lock}), QString());
        QVERIFY(!QFile::exists(files.lfuse) && !QFile::exists(files.hfuse) && !QFile::exists(files.lock));

        QVERIFY(QDir(dir.path()).mkpath("tools/lock.bin/x"));
        const QString written = writeFuseExchangeFiles(files, FuseBytes{});
        QVERIFY2(written.startsWith("无法写入文件：" + files.lock + "\r\n") && written.size() > files.lock.size() + 9,
                 qPrintable(written));
        QVERIFY(!QFile::exists(files.lfuse) && !QFile::exists(files.hfuse));
        QVERIFY(removeExchangeFiles({files.hfuse, files.lock}).startsWith("无法删除文件：" + files.lock + "\r\n"));
        QCOMPARE(readLeadingBytes(files.lock, 1), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestFuseBytes)
#include "test_fuse_bytes.moc"
