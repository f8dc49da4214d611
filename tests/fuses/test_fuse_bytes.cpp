#include "fuses/byte_display.h"
#include "fuses/clock_presets.h"

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
                ticks[size_t(v % 10)] = !ticks[size_t(v % 10)]; // boxes 0 to 9 count for nothing
                QCOMPARE(int(composeByte(row, ticks)), row == FuseByte::Lock ? v & 0x3F : v);
                for (int i = 0; i < 32; ++i) {
                    if (i == v % 10)
                        continue;
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
};

QTEST_GUILESS_MAIN(TestFuseBytes)
#include "test_fuse_bytes.moc"
