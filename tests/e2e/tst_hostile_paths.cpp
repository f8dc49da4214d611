// Image file names that would break a command line built for a shell reach
// avrdude as one argument each and program exactly their own bytes; a file
// that vanished after it was chosen only makes the tool say so.

#include "app_test_main.h"
#include "byte_files.h"
#include "sim_bench.h"
#include "tool_hook.h"

#include <QDir>
#include <QDirIterator>

namespace {
constexpr int flashSize = 8192;

QStringList filesUnder(const QString &root)
{
    QStringList files;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next();
    files.sort();
    return files;
}

// avrdude's arguments of its latest run, one per line in the log.
QStringList lastRunArguments(const QString &log)
{
    QFile f(log);
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> runs = f.readAll().split('\0');
    QStringList args;
    for (const QByteArray &a : runs.value(runs.size() - 2).split('\n'))
        args << QString::fromUtf8(a);
    args.removeLast();
    return args;
}
} // namespace

class TstHostilePaths : public QObject {
    Q_OBJECT
private slots:
    void hostileNamesAreOneArgumentEach_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a second -U inside quotes") << QStringLiteral("x\" -U flash:w:evil.hex:a \"");
        QTest::newRow("shell syntax") << QStringLiteral("$(touch pwned);`touch pwned2`|&<>*?~'\\ .bin");
        QTest::newRow("leading dashes") << QStringLiteral("--help -U flash:w:evil.hex:a.bin");
        QTest::newRow("near the longest path") << QString();
    }
    void hostileNamesAreOneArgumentEach()
    {
        QFETCH(QString, name);
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QTemporaryDir root;
        QString folder = root.path();
        if (name.isEmpty()) { // a path of 4000 bytes, in names no longer than a name may be
            while (4000 - folder.size() > 250)
                folder += u'/' + QString(200, u'd');
            name = QString(4000 - folder.size() - 1, u'f');
        }
        QVERIFY(QDir().mkpath(folder));
        const QString image = folder + u'/' + name;
        const QByteArray bytes = patternBytes(3000, 5);
        QVERIFY(writeBytes(image, bytes));
        // What the name would program if any part of it became an argument.
        QVERIFY(writeBytes(root.filePath(QStringLiteral("evil.hex")), patternBytes(64, 9)));
        QVERIFY(writeBytes(f.folder() + QStringLiteral("/evil.hex"), patternBytes(64, 9)));
        const QStringList before = filesUnder(root.path());
        const QString log = bench.stateFolder() + QStringLiteral("/args.log");
        ToolHook hook(3, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + QFile::encodeName(log)
                             + "'; printf '\\0' >> '" + QFile::encodeName(log) + "'");

        f.dialogs.files.enqueue(image);
        w.cmdFlash_Click();
        w.cmdFrun_Click();

        const QStringList transfer{QStringLiteral("-U"), QStringLiteral("flash:w:") + image + QStringLiteral(":a"),
                                   QStringLiteral("-U"), QStringLiteral("flash:v:") + image + QStringLiteral(":a")};
        QCOMPARE(w.strCommand.arguments.mid(8), transfer);
        const QStringList got = lastRunArguments(log);
        QCOMPARE(got.size(), 12);
        QCOMPARE(got.mid(8), transfer);
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), padded(bytes, flashSize));
        QVERIFY2(f.paneText().contains(QStringLiteral("3000 bytes of flash verified")), qPrintable(f.paneText()));
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(filesUnder(root.path()), before);
        QVERIFY(!QFile::exists(f.folder() + QStringLiteral("/pwned")));
    }

    void fileRemovedAfterItWasChosen()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QString image = f.folder() + QStringLiteral("/gone.hex");
        QVERIFY(writeBytes(image, patternBytes(100, 1)));
        f.dialogs.files.enqueue(image);
        w.cmdFlash_Click();
        QVERIFY(QFile::remove(image));
        w.cmdFrun_Click();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.operationButtonsEnabled());
        QVERIFY2(f.paneText().contains(image), qPrintable(f.paneText()));
        const QByteArray flash = bench.stateFile(QStringLiteral("flash.bin"));
        QCOMPARE(flash.count(char(0xFF)), flash.size()); // the chip is untouched
        QVERIFY(!QFile::exists(image));
    }
};

FW_APP_TEST_MAIN(TstHostilePaths)
#include "tst_hostile_paths.moc"
