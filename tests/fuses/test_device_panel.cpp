#include "fuses/chip_profile.h"
#include "fuses/fuse_box_help.h"
#include "fuses/fuse_panel_map.h"

#include <QtTest>

using namespace fusepanel;

class TestDevicePanel : public QObject {
    Q_OBJECT
private slots:
    void catalogue()
    {
        const ChipProfile *m8 = chipForListText(QStringLiteral("ATmega8"));
        const ChipProfile *m16 = chipForListText(QStringLiteral("ATmega16"));
        QVERIFY(m8 && m16);
        QCOMPARE(chipForPart(QStringLiteral("m8")), m8);
        QCOMPARE(chipForPart(QStringLiteral("m16")), m16);
        QVERIFY(!chipForPart(QStringLiteral("M8")) && !chipForPart(QString()));
        // Only the ATmega8 is written; the ATmega16's failed second check does not name the signature.
        QVERIFY(m8->writeSupported && m8->secondCheckNamesSignature);
        QVERIFY(!m16->writeSupported && !m16->secondCheckNamesSignature);
        QCOMPARE(m8->part, QStringLiteral("m8"));
        QCOMPARE(m8->signature, QStringLiteral("0x1e9307"));
        QCOMPARE(m16->part, QStringLiteral("m16"));
        QCOMPARE(m16->signature, QStringLiteral("0x1e9403"));
        QCOMPARE(chipProfiles().at(0).listText, QStringLiteral("ATmega8"));
        QCOMPARE(chipProfiles().at(1).listText, QStringLiteral("ATmega16"));
    }

    void listTextMustMatchExactly()
    {
        for (const char *t : {"atmega8", "ATMEGA16", "ATmega8 ", " ATmega16", "ATmega", ""})
            QVERIFY2(!chipForListText(QString::fromLatin1(t)), t);
    }

    void labelsPerChip()
    {
        const ChipProfile &m8 = *chipForListText(QStringLiteral("ATmega8"));
        const ChipProfile &m16 = *chipForListText(QStringLiteral("ATmega16"));
        const QStringList expected8 = {" ",      " ",     " ",      " ",      " ",      " ",      " ",      " ",
                                       " ",      " ",     "BtLk12", "BtLk11", "BtLk02", "BtLk01", "Lock2",  "lock1",
                                       "RSTDIS", "WDTON", "SPIEN",  "CHKOPT", "EESAVE", "BTSIZ1", "BTSIZ0", "BTRST",
                                       "BODLVL", "BODEN", "SUT1",   "SUT0",   "CKSEL3", "CKSEL2", "CKSEL1", "CKSEL0"};
        for (int i = 0; i < boxCount; ++i) {
            QCOMPARE(boxLabel(m8, i), expected8.at(i));
            const QString m16Label = i == 16   ? QStringLiteral("OCDEN")
                                     : i == 17 ? QStringLiteral("JTAGEN")
                                               : expected8.at(i);
            QCOMPARE(boxLabel(m16, i), m16Label);
        }
    }

    // Every labelled box explains its bit from the datasheet; the bits that
    // can shut the programmer out say so, and how the chip comes back.
    void boxHelpPerChip()
    {
        struct Chip {
            const char *device;
            const char *bit7;
            const char *bit6;
            quint8 hfuse;
            const char *boot256;
        };
        const Chip chips[] = {{"ATmega8", "RSTDISBL", "WDTON", 0xD9, "  未勾选、勾选：256 字，0xF00"},
                              {"ATmega16", "OCDEN", "JTAGEN", 0x99, "  未勾选、勾选：256 字，0x1F00"}};
        const QStringList bytes = {"锁定位字节（lock）", "熔丝位高字节（hfuse）", "熔丝位低字节（lfuse）"};
        for (const Chip &chip : chips) {
            const ChipProfile &device = *chipForListText(QString::fromLatin1(chip.device));
            const QStringList names = {"BLB12",   "BLB11",   "BLB02",    "BLB01", "LB2",    "LB1",
                                       chip.bit7, chip.bit6, "SPIEN",    "CKOPT", "EESAVE", "BOOTSZ1",
                                       "BOOTSZ0", "BOOTRST", "BODLEVEL", "BODEN", "SUT1",   "SUT0",
                                       "CKSEL3",  "CKSEL2",  "CKSEL1",   "CKSEL0"};
            const quint8 factory[] = {0xFF, chip.hfuse, 0xE1};
            for (int i = 0; i < 10; ++i)
                QVERIFY(boxHelp(device, i).isEmpty());
            for (int i = 10; i < boxCount; ++i) {
                const QStringList lines = boxHelp(device, i).split(u'\n');
                const int row = i / 8 - 1;
                const int bit = 7 - i % 8;
                QCOMPARE(lines.at(0), names.at(i - 10) + "：" + bytes.at(row) + "第 " + QString::number(bit) + " 位");
                const QString factoryHex = row ? QString::asprintf("（出厂值 0x%X", factory[row]) : QString();
                QVERIFY2(
                    lines.at(2).startsWith(((factory[row] >> bit) & 1 ? "出厂：未勾选" : "出厂：已勾选") + factoryHex),
                    qPrintable(lines.at(2)));
                // For the dangerous bits a warning ends the text, with the way back.
                const bool dangerous = i == 14 || i == 15 || i >= 28 || (i == 16 && device.part == "m8");
                const qsizetype warning = lines.indexOf(QRegularExpression("警告：.*"));
                QCOMPARE(lines.filter("警告").size(), dangerous ? 1 : 0);
                QVERIFY(
                    !dangerous
                    || (warning > 2 && lines.mid(warning).join("").contains(QRegularExpression("才能(恢复|解锁)"))));
            }
            QVERIFY(boxHelp(device, 21).split(u'\n').contains(QString::fromUtf8(chip.boot256)));
        }
    }

    void enabledStates()
    {
        for (int i = 0; i < boxCount; ++i) {
            const bool expected = i >= 10 && i != 18 && i < 28;
            QCOMPARE(boxEnabledAfterChoice(i), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestDevicePanel)
#include "test_device_panel.moc"
