// The fuse read, the fuse write and the calibration read without any
// process: a stand-in tool answers each command with what a real avrdude
// printed for it and moves the bytes through the exchange files as the tool
// does. What matters is which bytes reach the chip, which commands run, and
// what the pane and the problem say.

#include "fuses/calibration_read.h"
#include "fuses/clock_presets.h"
#include "fuses/fuse_commands.h"
#include "fuses/fuse_read.h"
#include "fuses/fuse_write.h"
#include "recorded_output.h"
#include "runner/command_grammar.h"
#include "runner/signature_check.h"
#include "text_pane.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Kind = OperationProblem::Kind;
Q_DECLARE_METATYPE(PanelTicks)

namespace {
// The recordings were made with an ATmega8; an ATmega16 names its own signature.
QString inTheWordsOf(const QString &chip, QString text)
{
    if (chip == QLatin1String("m16"))
        text.replace(QStringLiteral("0x1e9307"), QStringLiteral("0x1e9403"))
            .replace(QStringLiteral("1E 93 07"), QStringLiteral("1E 94 03"));
    return text;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("absent");
}

// A chip behind a recorded tool. The probe answers with the chip's signature
// line in the dialect's words; a read stores the chip's byte; a write takes
// the bytes from the files it is handed.
struct StandInTool {
    QString version = QStringLiteral("7.1");
    QString chip = QStringLiteral("m8");              // what sits in the socket: "m8", "m16" or "none"
    QByteArray fuses = QByteArray("\xE1\xD9\xFF", 3); // lfuse, hfuse, lock
    QByteArray calibration = QByteArray("\xA5\x9F\x9D\xA0", 4);
    int goneAfterRuns = 0; // the chip leaves the socket after this many runs (0: never)
    int silentFrom = 0;    // from this run on the tool writes no file (0: never)
    QStringList commands;
    QByteArray handedToTool; // the write's files as the tool found them: lfuse, hfuse, lock

    CapturedRun operator()(const ToolCommand &command)
    {
        CapturedRun run = answer(command);
        run.text = inTheWordsOf(chip, run.text);
        return run;
    }

    CapturedRun answer(const ToolCommand &command)
    {
        commands << command.text;
        const int run = int(commands.size());
        if (goneAfterRuns && run > goneAfterRuns)
            chip = QStringLiteral("none");
        const QStringList &a = command.arguments;
        const bool forced = a.contains(QStringLiteral("-F"));
        const QString part = a.at(a.indexOf(QStringLiteral("-p")) + 1);
        if (a.contains(QStringLiteral("-E")))
            return probe(part);
        if (chip == QLatin1String("none"))
            return {recorded("g4-chip-none-F-" + version), true};
        if (chip != part && !forced)
            return {recorded("b1-wrongchip-" + version), false};
        for (qsizetype i = a.indexOf(QStringLiteral("-U")); i >= 0; i = a.indexOf(QStringLiteral("-U"), i + 1)) {
            const QStringList op = a.at(i + 1).split(QLatin1Char(':'));
            const QString path = op.mid(2, op.size() - 3).join(QLatin1Char(':'));
            if (op.at(1) == QLatin1String("w"))
                handedToTool += fileBytes(path);
            else if (!silentFrom || run < silentFrom)
                store(path, op.at(0));
        }
        return {recorded("c1-read-hfuse-" + version), true};
    }

    CapturedRun probe(const QString &part) const
    {
        if (chip == QLatin1String("none"))
            return {recorded("g2-chip-none-" + version), false};
        if (chip != part)
            return {recorded("b1-wrongchip-" + version), false};
        return {recorded((version == QLatin1String("8.1") ? "a2-probe-v-" : "a1-probe-") + version), true};
    }

    void store(const QString &path, const QString &memory) const
    {
        const int at = QStringList({"lfuse", "hfuse", "lock"}).indexOf(memory);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(at >= 0 ? fuses.mid(at, 1) : calibration);
    }
};

struct Bench {
    QTemporaryDir dir;
    StandInTool tool;
    TextPane pane;
    OperationContext context;
    ExchangePaths files;
    RunningOperation run{OperationKind::FuseRead, [this](const ToolCommand &c, RunShown) { return tool(c); }};

    explicit Bench(const QString &part, const QString &version = QStringLiteral("7.1"))
    {
        tool.version = version;
        QDir(dir.path()).mkdir(QStringLiteral("tools"));
        const platform::PathRendering posix = platform::posixRendering();
        context.selections = {part, QStringLiteral("avr910"), QStringLiteral("com1")};
        context.expectedSignature = chipForPart(part) ? chipForPart(part)->signature : QString();
        context.prefix = grammar::commandPrefix(posix, dir.path(), context.selections);
        context.dialect = *dialectFromUsage(QStringLiteral("avrdude version ") + version);
        files = exchangePaths(posix, dir.path());
        run.freeze(context);
    }
    QStringList exchangeFilesLeft() const
    {
        return QDir(dir.filePath(QStringLiteral("tools"))).entryList(QDir::Files | QDir::System);
    }
    QString line(fusepanel::FuseByte byte) const { return fuseReadCommand(context.prefix, byte, files.read).text; }
};

PanelTicks presetTicks(const QString &preset, std::initializer_list<int> alsoTicked = {})
{
    PanelTicks ticks{};
    applyClockPreset(preset, ticks);
    for (int box : alsoTicked)
        ticks[size_t(box)] = true;
    return ticks;
}
} // namespace

class TestFuseProcedures : public QObject {
    Q_OBJECT
private slots:
    void fuseRead_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("socket");
        QTest::addColumn<int>("goneAfter");
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<int>("runs");
        QTest::addColumn<QStringList>("left");
        for (const char *v : {"6.3", "7.1", "8.1"}) {
            const QString version = QString::fromLatin1(v);
            QTest::addRow("factory ATmega8, %s", v) << version << "m8"
                                                    << "m8" << 0 << 0 << int(Kind::None) << "" << 4 << QStringList();
            QTest::addRow("factory ATmega16, %s", v) << version << "m16"
                                                     << "m16" << 0 << 0 << int(Kind::None) << "" << 4 << QStringList();
            QTest::addRow("wrong chip, %s", v) << version << "m16"
                                               << "m8" << 0 << 0 << int(Kind::SignatureMismatch)
                                               << (version == "8.1" ? "1E 93 07" : "0x1e9307") << 1 << QStringList();
            QTest::addRow("chip gone at the high fuse, %s", v)
                << version << "m8"
                << "m8" << 1 << 0 << int(Kind::SecondCheckFailed) << (version == "8.1" ? "00 00 00" : "0x000000") << 2
                << QStringList();
            QTest::addRow("no byte after the high fuse, %s", v)
                << version << "m8"
                << "m8" << 0 << 3 << int(Kind::NoAnswer) << "" << 3 << QStringList();
        }
    }
    void fuseRead()
    {
        QFETCH(QString, version);
        QFETCH(QString, chosen);
        QFETCH(QString, socket);
        QFETCH(int, goneAfter);
        QFETCH(int, silentFrom);
        QFETCH(int, problem);
        QFETCH(QString, detail);
        QFETCH(int, runs);
        QFETCH(QStringList, left);
        Bench b(chosen, version);
        b.tool.chip = socket;
        b.tool.goneAfterRuns = goneAfter;
        b.tool.silentFrom = silentFrom;
        if (chosen == "m16")
            b.tool.fuses = QByteArray("\xE1\x99\xFF", 3);
        const FuseReadResult r = readFuses(b.files.read, b.run, b.pane);

        QCOMPARE(int(r.problem.kind), problem);
        QCOMPARE(r.problem.detail, detail);
        QCOMPARE(b.tool.commands.size(), runs);
        QCOMPARE(b.tool.commands.first(), signatureProbeCommand(b.context.prefix, b.context.dialect).text);
        QCOMPARE(r.panelFilled, problem == int(Kind::None));
        QCOMPARE(r.panelCleared, problem == int(Kind::NoAnswer));
        using fusepanel::FuseByte;
        const QString reads = inTheWordsOf(socket, recorded("c1-read-hfuse-" + version));
        switch (Kind(problem)) {
        case Kind::None:
            QCOMPARE(b.tool.commands.mid(1),
                     QStringList({b.line(FuseByte::HighFuse), b.line(FuseByte::LowFuse), b.line(FuseByte::Lock)}));
            QVERIFY(b.line(FuseByte::HighFuse).endsWith(":r -F") && b.line(FuseByte::Lock).endsWith("/fuse.bin\":r"));
            QCOMPARE(QByteArray(1, char(r.bytes.lfuse)) + char(r.bytes.hfuse) + char(r.bytes.lock), b.tool.fuses);
            QCOMPARE(b.pane.text, (chosen == "m16" ? b.line(FuseByte::HighFuse) : QString()) + reads + reads + reads);
            break;
        case Kind::SignatureMismatch:
            QCOMPARE(b.pane.text, b.tool.commands.first() + "\r\n" + recorded("b1-wrongchip-" + version));
            break;
        case Kind::SecondCheckFailed:
            QCOMPARE(b.pane.text, b.line(FuseByte::HighFuse) + "\r\n" + recorded("g4-chip-none-F-" + version));
            break;
        case Kind::NoAnswer:
            QCOMPARE(b.pane.text, reads + reads);
            break;
        default:
            QFAIL("unexpected problem");
        }
        QCOMPARE(b.exchangeFilesLeft(), left);
    }

    // Nothing planted under an exchange file's name is followed, and a stray
    // file is never taken for the chip's byte.
    void plantedEntriesAreNeverFollowed()
    {
        Bench b("m8");
        QFile precious(b.dir.filePath("precious"));
        QVERIFY(precious.open(QIODevice::WriteOnly) && precious.write("keep") == 4);
        precious.close();
        for (const QString &path : {b.files.read, b.files.lfuse, b.files.hfuse, b.files.lock})
            QVERIFY(QFile::link(precious.fileName(), path));
        const FuseWriteResult w = writeFuses(b.files, PanelTicks{}, b.run, b.pane, [] { return true; });
        QVERIFY(w.problem.isNone() && w.toolRan);
        QCOMPARE(b.tool.handedToTool, QByteArray("\xFF\xFF\x3F", 3));
        QCOMPARE(fileBytes(precious.fileName()), QByteArray("keep"));

        // The tool's file replaced by a link before it is read back: refused, removed, never read.
        b.tool.commands.clear();
        StandInTool &tool = b.tool;
        const QString exchange = b.files.read;
        RunningOperation planting(OperationKind::FuseRead, [&](const ToolCommand &c, RunShown) {
            CapturedRun run = tool(c);
            if (tool.commands.size() == 2) {
                QFile::remove(exchange);
                QFile::link(precious.fileName(), exchange);
            }
            return run;
        });
        planting.freeze(b.context);
        const FuseReadResult r = readFuses(exchange, planting, b.pane);
        QCOMPARE(int(r.problem.kind), int(Kind::FileNotRead));
        QCOMPARE(r.problem.detail, exchange);
        QVERIFY(!r.panelFilled && !r.panelCleared);
        QCOMPARE(fileBytes(precious.fileName()), QByteArray("keep"));
        QCOMPARE(b.exchangeFilesLeft(), QStringList());
    }

    void fuseWrite_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<PanelTicks>("ticks");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QByteArray>("handed");
        const PanelTicks everything = [] {
            PanelTicks t;
            t.fill(true);
            return t;
        }();
        for (const char *v : {"6.3", "7.1", "8.1"}) {
            const QString version = QString::fromLatin1(v);
            QTest::addRow("nothing ticked, %s", v)
                << version << "m8" << PanelTicks{} << true << int(Kind::None) << QByteArray("\xFF\xFF\x3F", 3);
            QTest::addRow("internal RC 8 MHz with SPIEN and EESAVE, %s", v)
                << version << "m8" << presetTicks("内部RC 8MHz", {18, 20, 21, 22, 27}) << true << int(Kind::None)
                << QByteArray("\xE4\xD1\x3F", 3);
        }
        QTest::newRow("everything ticked") << "7.1"
                                           << "m8" << everything << true << int(Kind::None) << QByteArray(3, '\0');
        QTest::newRow("internal RC 1 MHz, lock bits")
            << "7.1"
            << "m8" << presetTicks("内部RC 1MHz", {10, 15}) << true << int(Kind::None) << QByteArray("\xF1\xFF\x1E", 3);
        QTest::newRow("cancelled") << "7.1"
                                   << "m8" << PanelTicks{} << false << int(Kind::WriteCancelled) << QByteArray();
        QTest::newRow("ATmega16") << "7.1"
                                  << "m16" << PanelTicks{} << true << int(Kind::WriteNotSupported) << QByteArray();
    }
    void fuseWrite()
    {
        QFETCH(QString, version);
        QFETCH(QString, chosen);
        QFETCH(PanelTicks, ticks);
        QFETCH(bool, confirm);
        QFETCH(int, problem);
        QFETCH(QByteArray, handed);
        Bench b(chosen, version);
        b.tool.chip = chosen;
        int asked = 0;
        const FuseWriteResult r = writeFuses(b.files, ticks, b.run, b.pane, [&] {
            ++asked;
            return confirm;
        });
        QCOMPARE(asked, 1);
        QCOMPARE(int(r.problem.kind), problem);
        QCOMPARE(b.tool.handedToTool, handed);
        QCOMPARE(r.toolRan, !handed.isEmpty());
        QCOMPARE(b.tool.commands.size(), handed.isEmpty() ? 1 : 2);
        if (r.toolRan) {
            const QString tools = b.dir.filePath("tools");
            const QString line = b.context.prefix.text + " -U lfuse:w:\"" + tools + "/lfuse.bin\":r -U hfuse:w:\""
                                 + tools + "/hfuse.bin\":r -U lock:w:\"" + tools + "/lock.bin\":r"
                                 + (version == "6.3" ? " -u" : "");
            QCOMPARE(b.tool.commands.last(), line);
            QCOMPARE(b.pane.text, line + "\r\n" + recorded("c1-read-hfuse-" + version));
        }
        QCOMPARE(b.exchangeFilesLeft(), QStringList());
    }

    void calibrationRead_data()
    {
        QTest::addColumn<QString>("socket");
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<QStringList>("texts"); // the boxes 1, 2, 4 and 8 MHz
        QTest::newRow("factory bytes") << "m8" << 0 << QStringList{"0xA5", "0x9F", "0x9D", "0xA0"};
        QTest::newRow("tool wrote nothing") << "m8" << 2 << QStringList{"", "", "", ""};
        QTest::newRow("wrong chip: boxes emptied") << "m16" << 0 << QStringList{"", "", "", ""};
    }
    void calibrationRead()
    {
        QFETCH(QString, socket);
        QFETCH(int, silentFrom);
        QFETCH(QStringList, texts);
        Bench b("m8", "8.1");
        b.tool.chip = socket;
        b.tool.silentFrom = silentFrom;
        const CalibrationResult r = readCalibration(b.files.read, b.run, b.pane);
        QVERIFY(r.boxTexts);
        QCOMPARE(QStringList(r.boxTexts->begin(), r.boxTexts->end()), texts);
        if (socket == "m8") {
            const QString op = " -U calibration:r:\"" + b.files.read + "\":r";
            QCOMPARE(r.calibrationOp.text, op);
            QCOMPARE(b.tool.commands.last(), b.context.prefix.text + op + " -F");
            QCOMPARE(b.pane.text, b.tool.commands.last() + recorded("c1-read-hfuse-8.1"));
            QVERIFY(r.problem.isNone());
        } else {
            QCOMPARE(int(r.problem.kind), int(Kind::SignatureMismatch));
            QVERIFY(r.calibrationOp.isEmpty());
        }
        QCOMPARE(b.exchangeFilesLeft(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestFuseProcedures)
#include "test_fuse_procedures.moc"
