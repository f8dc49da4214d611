// The Flash and EEPROM transfer without any process: a stand-in tool answers
// each command with what a real avrdude printed for it. What matters is
// which commands run, in which words, what the user is asked, and that an
// image too large for the chip never reaches the tool.

#include "intel_hex.h"
#include "memory/memory_procedure.h"
#include "recorded_output.h"
#include "runner/command_grammar.h"
#include "runner/signature_check.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "text_pane.h"

using Kind = OperationProblem::Kind;

class TestMemoryProcedure : public QObject {
    Q_OBJECT
private slots:
    void transfer_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("socket"); // the chip the tool finds
        QTest::addColumn<int>("memory");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QByteArray>("image"); // the file's content; empty: no file chosen
        QTest::addColumn<bool>("fileChosen");  // the panel had a file when the button was pressed
        QTest::addColumn<bool>("answer");      // the user's answer to the file dialog or the overwrite question
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("sizes"); // image and memory in bytes, for a refused image
        const int flash = int(MemoryKind::Flash), eeprom = int(MemoryKind::Eeprom);
        const int program = int(TransferDirection::Program), read = int(TransferDirection::Read);
        const int none = int(Kind::None), tooLarge = int(Kind::ImageTooLarge);
        const QByteArray m8Image = toIntelHex(QByteArray(8192, 1)), m16Image = toIntelHex(QByteArray(16384, 2)),
                         raw512 = QByteArray(512, char(0xFF));
        for (const char *v : {"6.3", "7.1", "8.1"}) {
            const QString version = QString::fromLatin1(v);
            QTest::addRow("Flash program, fits exactly, %s", v)
                << version << "m8" << flash << program << m8Image << true << true << none << "";
            QTest::addRow("ATmega16 firmware into ATmega8 Flash, %s", v)
                << version << "m8" << flash << program << m16Image << true << true << tooLarge << "16384 8192";
            QTest::addRow("firmware into the EEPROM, %s", v)
                << version << "m8" << eeprom << program << m8Image << true << true << tooLarge << "8192 512";
            QTest::addRow("EEPROM read, %s", v)
                << version << "m8" << eeprom << read << m16Image << true << true << none << "";
        }
        QTest::newRow("raw EEPROM image fits") << "7.1"
                                               << "m8" << eeprom << program << raw512 << true << true << none << "";
        QTest::newRow("raw EEPROM image one byte over")
            << "7.1"
            << "m8" << eeprom << program << raw512 + '\xFF' << true << true << tooLarge << "513 512";
        QTest::newRow("ATmega16 firmware into ATmega16")
            << "7.1"
            << "m16" << flash << program << m16Image << true << true << none << "";
        QTest::newRow("a format the tool cannot tell") << "7.1"
                                                       << "m8" << flash << program << QByteArray("not an image\n")
                                                       << true << true << int(Kind::ImageUnusable) << "";
        QTest::newRow("read into an image too large")
            << "7.1"
            << "m8" << flash << read << m16Image << true << true << none << "";
        QTest::newRow("read not to overwrite") << "7.1"
                                               << "m8" << flash << read << m8Image << true << false << none << "";
        QTest::newRow("no file: chosen after the probe")
            << "7.1"
            << "m8" << flash << program << m16Image << false << true << tooLarge << "16384 8192";
        QTest::newRow("no file: dialog cancelled")
            << "7.1"
            << "m8" << eeprom << program << m8Image << false << false << none << "";
        QTest::newRow("wrong chip") << "7.1"
                                    << "m16" << flash << program << m8Image << false << true
                                    << int(Kind::SignatureMismatch) << "";
    }
    void transfer()
    {
        QFETCH(QString, version);
        QFETCH(QString, socket);
        QFETCH(int, memory);
        QFETCH(int, direction);
        QFETCH(QByteArray, image);
        QFETCH(bool, fileChosen);
        QFETCH(bool, answer);
        QFETCH(int, problem);
        QFETCH(QString, sizes);
        QTemporaryDir dir;
        // A raw image under a ".hex" name would be refused for its name.
        const QString path =
            dir.filePath(image.startsWith('\xFF') ? QStringLiteral("my image.bin") : QStringLiteral("my image.hex"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
        file.close();

        // The user chose the chip in the socket, but for the wrong chip row.
        const QString chosen = problem == int(Kind::SignatureMismatch) ? QStringLiteral("m8") : socket;
        OperationContext context;
        context.selections = {chosen, QStringLiteral("avr910"), QStringLiteral("com1")};
        context.expectedSignature = chipForPart(chosen)->signature;
        context.prefix = grammar::commandPrefix(platform::posixRendering(), dir.path(), context.selections);
        context.dialect = *dialectFromUsage(QStringLiteral("avrdude version ") + version);
        MemoryOperation operation;
        operation.memory = MemoryKind(memory);
        operation.direction = TransferDirection(direction);
        operation.file = fileChosen ? path : QString();

        QStringList probes, transfers, asked;
        // The recordings were made with an ATmega8; 8.1 names the signature only when verbose.
        const QString found = recorded((version == "8.1" ? "a2-probe-v-" : "a1-probe-") + version)
                                  .replace("0x1e9307", chipForPart(socket)->signature);
        const QString said =
            recorded((direction == int(TransferDirection::Program) ? "e1-flash-write-" : "e4-flash-read-") + version);
        // The transfer's output is shown while it arrives; the probe's only at its end.
        RunningOperation running(OperationKind::FlashProgram, [&](const ToolCommand &c, RunShown shown) {
            (shown == RunShown::AtEnd ? probes : transfers) << c.text;
            return CapturedRun{shown == RunShown::AtEnd ? found : said, true};
        });
        running.freeze(context);
        TransferQuestions ask;
        ask.chooseMissingFile = [&] {
            asked << "file";
            return answer ? path : QString();
        };
        ask.overwrite = [&](const QString &f) {
            asked << "overwrite " + f;
            return answer;
        };
        TextPane pane;
        const TransferResult r = transferImage(operation, running, pane, ask);

        QCOMPARE(int(r.problem.kind), problem);
        QCOMPARE(probes, QStringList(signatureProbeCommand(context.prefix, context.dialect).text));
        QStringList questions;
        if (!fileChosen && problem != int(Kind::SignatureMismatch))
            questions << "file";
        if (direction == int(TransferDirection::Read))
            questions << "overwrite " + path;
        QCOMPARE(asked, questions);
        const bool runs = problem == int(Kind::None) && answer;
        QCOMPARE(r.toolRan, runs);
        if (!sizes.isEmpty())
            QCOMPARE(r.problem.detail + ' ' + r.problem.reason, sizes);
        if (!runs) {
            QVERIFY(transfers.isEmpty() && r.op.isEmpty());
            QCOMPARE(pane.text,
                     problem == int(Kind::SignatureMismatch) ? probes.first() + "\r\n" + found : QStringLiteral(" "));
            return;
        }
        const QString name = memory == int(MemoryKind::Flash) ? "flash" : "eeprom";
        const QString quoted = "\"" + path + "\"";
        const QString ops = direction == int(TransferDirection::Program)
                                ? " -U " + name + ":w:" + quoted + ":a  -U " + name + ":v:" + quoted + ":a "
                                : " -U " + name + ":r:" + quoted + ":i  -U " + name + ":v:" + quoted + ":i ";
        QCOMPARE(transfers, QStringList(context.prefix.text + ops));
        QCOMPARE(r.op.text + r.verify.text, ops);
        QCOMPARE(pane.text, transfers.first() + "\r\n" + said);
    }
};

QTEST_GUILESS_MAIN(TestMemoryProcedure)
#include "test_memory_procedure.moc"
