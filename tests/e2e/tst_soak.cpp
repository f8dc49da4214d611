// A long run of operations against the virtual chip: each one gives the
// same result, and descriptors, children and memory stay where they were
// after the first few. FW_SOAK_OPERATIONS sets the count (200; 1000 for
// the long run).

#include "app_test_main.h"
#include "process_probe.h"
#include "sim_bench.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>

#include <unistd.h>

namespace {
struct Footprint {
    int descriptors = 0;
    int children = 0;
    long rssKiB = 0;
};

// Descriptors open, processes whose parent is this one, resident memory.
Footprint footprint()
{
    Footprint f;
    f.descriptors = fw_test::openDescriptorCount();
    const QByteArray self = QByteArray::number(qint64(::getpid()));
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray s = stat.readAll();
            // pid (name) state ppid ...: the name may hold blanks, so count from its ')'.
            f.children += s.mid(s.lastIndexOf(')') + 2).split(' ').value(1) == self;
        }
    }
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            f.rssKiB = line.mid(6).trimmed().split(' ').value(0).toLong();
    return f;
}

QString ticked(frmMain &w)
{
    QString bits;
    for (int i = 8; i < 32; ++i)
        bits += w.chkFuse(i)->isChecked() ? u'1' : u'0';
    return bits;
}
} // namespace

class TstSoak : public QObject {
    Q_OBJECT
private slots:
    void operationsInARowLeaveNothingBehind()
    {
        const int operations =
            qEnvironmentVariableIsSet("FW_SOAK_OPERATIONS") ? qEnvironmentVariableIntValue("FW_SOAK_OPERATIONS") : 200;
        const int warmUp = qMin(20, operations / 2);
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        auto *cal1 = f.find<QLineEdit>("txtCal1");
        // Boxes 8 to 31 for lock FF, high fuse D9, low fuse E1.
        const QString factoryFuses = QStringLiteral("00000000"
                                                    "00100110"
                                                    "00011110");

        Footprint settled;
        for (int i = 0; i < operations; ++i) {
            if (i == warmUp)
                settled = footprint();
            switch (i % 4) {
            case 0:
            case 3:
                w.cmdRst_Click();
                break;
            case 1:
                cal1->clear();
                w.cmdCalRD_Click();
                QVERIFY2(cal1->text() == QStringLiteral("0xA5"), qPrintable(f.paneText()));
                break;
            case 2:
                w.cmdFuseRD_Click();
                QVERIFY2(ticked(w) == factoryFuses, qPrintable(f.paneText()));
                break;
            }
            QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(QString::number(i)));
            QVERIFY(f.paneText().contains(QStringLiteral("avrdude done.  Thank you.")));
        }
        const Footprint end = footprint();
        qInfo("%d operations; after %d: %d descriptors, %d children, %ld KiB resident; "
              "at the end: %d descriptors, %d children, %ld KiB resident",
              operations, warmUp, settled.descriptors, settled.children, settled.rssKiB, end.descriptors, end.children,
              end.rssKiB);
        QCOMPARE(end.descriptors, settled.descriptors);
        QCOMPARE(end.children, 1); // the simulator
        QVERIFY(end.rssKiB - settled.rssKiB < 8 * 1024);
        QCOMPARE(QDir(f.toolsFolder()).entryList({QStringLiteral("*.bin")}, QDir::Files), QStringList());
    }
};

FW_APP_TEST_MAIN(TstSoak)
#include "tst_soak.moc"
