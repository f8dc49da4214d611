// The hints over every text of avrdude 6.3, 7.1, 8.1 and 8.2 kept with the tests:
// each failure named in expected-hints.txt gets its hints in every dialect,
// each other run none, whatever the operation and the platform.

#include "fuses/chip_profile.h"
#include "runner/failure_hints.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString folder = QStringLiteral(FW_RECORDED_OUTPUT) + QLatin1Char('/');
const QRegularExpression version(QStringLiteral("-\\d+\\.\\d+(-\\w+)?$"));
const QStringList operations{"Reset",        "FuseRead",  "FuseWrite",     "CalibrationRead",
                             "FlashProgram", "FlashRead", "EepromProgram", "EepromRead"};

QString text(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// One row of expected-hints.txt: recording | programmer | operation | platform | fragments
// [| silent N | lock 0xNN].
void expectHints(const QStringList &row, const QString &captured, const QString &where)
{
    const auto op = static_cast<OperationKind>(operations.indexOf(row[2]));
    FailedRun run{captured, op, row[1], row[3], knownChips(), 0, std::nullopt};
    if (row.value(5).startsWith("silent "))
        run.silentSeconds = row[5].section(' ', 1).toInt();
    if (row.value(5).startsWith("lock "))
        run.writtenLock = quint8(row[5].section(' ', 1).toUInt(nullptr, 16));
    const QStringList hints = failureHints(run);
    const QStringList fragments = row[4].split(" ; ", Qt::SkipEmptyParts);
    QVERIFY2(hints.size() == fragments.size(), qPrintable(where + ": " + hints.join(" | ")));
    for (int i = 0; i < hints.size(); ++i)
        QVERIFY2(hints[i].contains(fragments[i]) && !hints[i].contains('\n'), qPrintable(where + ": " + hints[i]));
}
} // namespace

class TestFailureHints : public QObject {
    Q_OBJECT
private slots:
    void everyTextGetsItsHints()
    {
        QHash<QString, QList<QStringList>> failures;
        for (const QString &line : text(folder + "expected-hints.txt").split('\n', Qt::SkipEmptyParts))
            if (!line.startsWith('#'))
                failures[line.section(" | ", 0, 0)] << line.split(" | ");
        QSet<QString> seen;
        int texts = 0;
        for (QDirIterator it(folder, {"*.out"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++texts) {
            const QString stem = it.next().mid(folder.size()).chopped(4);
            // "absent-8.1-standin" is a dialect of "absent" too.
            const QString name = failures.contains(stem) ? stem : stem.left(stem.indexOf(version));
            const QString captured = text(it.filePath());
            for (const QStringList &row : failures.value(name))
                expectHints(row, captured, stem + " on " + row[3]);
            if (failures.contains(name)) {
                seen << name;
                continue;
            }
            const QString programmer = stem.startsWith("usbasp/")        ? "usbasp"
                                       : stem.startsWith("pony-stk200/") ? "pony-stk200"
                                                                         : "avr910";
            for (const QString &op : operations)
                for (const char *platform : {"linux", "windows"})
                    expectHints({stem, programmer, op, platform, ""}, captured, stem + " as " + op);
        }
        QVERIFY(texts > 200);
        QCOMPARE(seen.size(), failures.size());
        // An old USBasp's warning leads the hints only when the chip does not answer.
        for (const char *v : {"6.3", "7.1", "8.1", "8.2"}) {
            const QString warning =
                text(folder + "usbasp/old-firmware-" + v + ".out").split('\n').filter("sck").value(0);
            expectHints({"", "usbasp", "Reset", "linux", "固件较旧 ; 芯片没有应答"},
                        warning + '\n' + text(folder + "usbasp/probe-none-" + v + ".out"), v);
        }
    }
};

QTEST_APPLESS_MAIN(TestFailureHints)
#include "test_failure_hints.moc"
