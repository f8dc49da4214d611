// End to end: the Flash and EEPROM panels through the real avrdude to the
// virtual programmer, and the pane while a transfer runs.

#include "app/output_pane_edit.h"
#include "app_test_main.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "runner/command_runner.h"
#include "sim_bench.h"
#include "tool_hook.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <ctime>

namespace {
constexpr int flashSize = 8192;

bool isHex(const QString &path)
{
    return path.endsWith(QStringLiteral(".hex"), Qt::CaseInsensitive);
}

QByteArray imageIn(const QString &path)
{
    QByteArray image;
    return !isHex(path) ? readBytes(path) : fromIntelHex(readBytes(path), image) ? image : QByteArray("bad HEX");
}

// The pane whenever a 10 ms timer fired while an operation ran.
struct PaneWatch {
    struct Shown {
        QString text, widget; // the pane's text, what the widget shows
        bool endInView;
    };
    explicit PaneWatch(WindowFixture &f) : pane(f.find<OutputPaneEdit>("txtOutput"))
    {
        QObject::connect(&timer, &QTimer::timeout, [this, &f] {
            const QScrollBar *bar = pane->verticalScrollBar();
            if (!f.operationButtonsEnabled())
                shown << Shown{pane->paneText(), pane->toPlainText(), bar->value() == bar->maximum()};
        });
        timer.start(10);
    }
    OutputPaneEdit *pane;
    QTimer timer;
    QList<Shown> shown;
};

bool endInView(WindowFixture &f)
{
    const QScrollBar *bar = f.find<OutputPaneEdit>("txtOutput")->verticalScrollBar();
    return bar->maximum() > 0 && bar->value() == bar->maximum();
}

QStringList describe(const ShownMessage &m)
{
    return {m.text, m.title,
            m.icon == MessageIcon::Critical   ? "critical"
            : m.icon == MessageIcon::Question ? "question"
                                              : "other",
            m.buttons == MessageButtons::Ok      ? "ok"
            : m.buttons == MessageButtons::YesNo ? "yes no"
                                                 : "other"};
}

// Chooses path in the panel's file dialog for a program or a read, then runs the panel.
void transfer(WindowFixture &f, bool flash, bool program, const QString &path, bool run = true)
{
    f.find<QRadioButton>(flash ? (program ? "optFwr" : "optFrd") : (program ? "optEEwr" : "optEErd"))->setChecked(true);
    f.dialogs.files.enqueue(path);
    frmMain &w = f.window();
    flash ? w.cmdFlash_Click() : w.cmdEEPROM_Click();
    if (run)
        flash ? w.cmdFrun_Click() : w.cmdErun_Click();
}
} // namespace

class E2eMemory : public QObject {
    Q_OBJECT
private slots:
    // The demo: program the ATmega8 from a .hex, read it back into a .bin.
    void programFromHexThenReadIntoBinWithLiveProgress()
    {
        // A classic programmer moves one byte per command: slow enough to watch.
        SimBench bench(QStringLiteral("m8"), {QStringLiteral("--block"), QStringLiteral("0")});
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        w.show(); // the pane lays its lines out, so its end can be in view
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QByteArray image = patternBytes(6000, 7) + QByteArray(16, char(0xFF)) + patternBytes(10, 8);
        const QString hex = f.folder() + QStringLiteral("/blink.hex");
        QVERIFY(writeBytes(hex, toIntelHex(image)));

        PaneWatch watch(f);
        transfer(f, true, true, hex);
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), padded(image, flashSize));
        const QString command = w.strCommand.text;
        QVERIFY(command.endsWith(" -U flash:w:\"" + hex + "\":a  -U flash:v:\"" + hex + "\":a "));
        const QString pane = f.paneText();
        QVERIFY2(pane.startsWith(command + QStringLiteral("\r\n")), qPrintable(pane));
        QCOMPARE(pane.count(QStringLiteral("avrdude: 6026 bytes of flash verified")), 2);
        bool partShown = false;
        for (const auto &[text, widget, endInView] : std::as_const(watch.shown)) {
            QVERIFY(pane.startsWith(text) || !text.startsWith(command));
            partShown |= text.startsWith(command) && text.contains(QStringLiteral("Writing | #"))
                         && !text.contains(QStringLiteral("bytes of flash written"));
        }
        QVERIFY2(partShown, "no part of the progress bar was shown while the tool ran");
        // The news is in view when the operation ends.
        QVERIFY(endInView(f));
        QVERIFY(!pane.contains(QStringLiteral("提示：")));

        const QString bin = f.folder() + QStringLiteral("/back.bin");
        transfer(f, true, false, bin);
        QCOMPARE(readBytes(bin), image); // the tool leaves out the trailing 0xFF
        QVERIFY(w.strCommand.text.endsWith(" -U flash:r:\"" + bin + "\":r  -U flash:v:\"" + bin + "\":r "));
        QVERIFY(f.paneText().contains(QStringLiteral("avrdude: 6026 bytes of flash verified")));
    }

    // Both memories, both directions, both formats, through blanks, double
    // quotes, Chinese characters and a long path; nothing else is touched.
    void everyFormatAndAwkwardPaths()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QTemporaryDir root;
        QString dir = root.path() + QStringLiteral("/my \"images\" 图像");
        for (int i = 0; i < 3; ++i)
            dir += QStringLiteral("/a rather long folder name that goes on ") + QString::number(i) + QString(60, 'x');
        QVERIFY(QDir().mkpath(dir) && dir.size() > 300);
        const QByteArray flash = patternBytes(5000, 21), ee1 = patternBytes(512, 22), ee2 = patternBytes(512, 23);
        const struct Step {
            bool flash, program;
            QString path;
            QByteArray bytes;
        } steps[] = {{true, true, dir + QStringLiteral("/flash image.bin"), flash},
                     {true, false, dir + QStringLiteral("/闪存 \"back\".HEX"), flash},
                     {false, true, dir + QStringLiteral("/ee data.eep"), ee1},
                     {false, false, dir + QStringLiteral("/ee back.hex"), ee1},
                     {false, true, dir + QStringLiteral("/ee \"second\" 数据.hex"), ee2},
                     {false, false, dir + QStringLiteral("/ee back.bin"), ee2}};
        QStringList files;
        for (const Step &s : steps) {
            if (s.program)
                QVERIFY(writeBytes(s.path, isHex(s.path) ? toIntelHex(s.bytes) : s.bytes));
            transfer(f, s.flash, s.program, s.path);
            const QString memory = s.flash ? QStringLiteral("flash") : QStringLiteral("eeprom");
            const QString format = s.program       ? QStringLiteral(":a")
                                   : isHex(s.path) ? QStringLiteral(":i")
                                                   : QStringLiteral(":r");
            QCOMPARE(bench.window().strCommand.arguments.mid(8),
                     (QStringList{"-U", memory + (s.program ? ":w:" : ":r:") + s.path + format, "-U",
                                  memory + ":v:" + s.path + format}));
            QVERIFY2(f.paneText().contains(QString::number(s.bytes.size()) + " bytes of " + memory + " verified"),
                     qPrintable(f.paneText()));
            QCOMPARE(bench.stateFile(memory + ".bin"), s.flash ? padded(s.bytes, flashSize) : s.bytes);
            QCOMPARE(imageIn(s.path), s.bytes);
            files << s.path;
        }
        QCOMPARE(f.dialogs.messages.size(), 3); // the three overwrite questions
        QStringList found;
        for (QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            found << it.next();
        found.sort();
        files.sort();
        QCOMPARE(found, files);
    }

    void cancelAndNoRunNothing()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const auto &shown = f.dialogs.messages;
        const auto &asked = f.dialogs.fileRequests;

        // No file yet: the probe, the message, the open dialog; cancel ends the run.
        w.cmdFrun_Click();
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral(" -E reset")));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(describe(shown[0]), (QStringList{"请选择FLASH文件", "错误", "critical", "ok"}));
        QCOMPARE(asked.size(), 1);
        QCOMPARE((QStringList{asked[0].filter, asked[0].initialDir, asked[0].fileName}),
                 (QStringList{"Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin", f.folder(), QString()}));

        // The EEPROM panel chooses a file to read into; the Flash panel then cancels twice.
        const QString eep = f.folder() + QStringLiteral("/data.eep");
        transfer(f, false, false, eep, false);
        w.cmdFlash_Click();
        w.cmdFrun_Click();
        QCOMPARE(asked.size(), 4);
        QCOMPARE((QList<FileDialogMode>{asked[0].mode, asked[1].mode}),
                 (QList{FileDialogMode::Open, FileDialogMode::Save}));
        QCOMPARE(asked[3].fileName, eep);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(w.strFlashFile, QString());
        QCOMPARE(f.find<QLineEdit>("txtFlash")->text(), QString());
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral(" -E reset")));

        // No to the overwrite question.
        f.dialogs.answers.enqueue(MessageAnswer::No);
        w.cmdErun_Click();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(describe(shown[2]), (QStringList{"保存在文件" + eep + "?", "是否覆盖文件", "question", "yes no"}));
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral(" -E reset")));
        QVERIFY(!QFile::exists(eep));

        // A cancelled EEPROM choice keeps its file.
        w.cmdEEPROM_Click();
        QCOMPARE(w.strEepromFile, eep);
        QCOMPARE(f.find<QLineEdit>("txtEEPROM")->text(), eep);
        QVERIFY(f.find<QPushButton>("cmdFrun")->isEnabled() && f.find<QPushButton>("cmdErun")->isEnabled());
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), QByteArray(flashSize, char(0xFF)));
        QCOMPARE(bench.stateFile(QStringLiteral("eeprom.bin")), QByteArray(512, char(0xFF)));
    }

    void wrongOrMissingChipStopsBeforeTransfer()
    {
        // An ATmega16 on the programmer for a Flash program; an empty socket for an EEPROM read.
        for (const bool flash : {true, false}) {
            SimBench bench(flash ? QStringLiteral("m16") : QStringLiteral("none"));
            REQUIRE_BENCH(bench);
            WindowFixture &f = bench.fixture();
            f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
            const QString image = f.folder() + QStringLiteral("/image.bin");
            QVERIFY(writeBytes(image, "image"));
            const QByteArray flashBefore = bench.stateFile(QStringLiteral("flash.bin"));
            transfer(f, flash, flash, image);
            QVERIFY(f.paneText().startsWith(bench.window().strCommand.text + QStringLiteral("\r\navrdude warning")));
            QCOMPARE(f.dialogs.messages.size(), 1);
            QCOMPARE(f.dialogs.messages[0].text,
                     QStringLiteral("编程器或器件错误\r\nDevice signature=")
                         + (flash ? QStringLiteral("0x1e9403") : QStringLiteral("0x000000")));
            QVERIFY(bench.window().strCommand.text.endsWith(QStringLiteral(" -E reset")));
            QCOMPARE(readBytes(image), QByteArray("image"));
            QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), flashBefore);
        }
    }

    // An ATmega16 firmware picked for an ATmega8, in either panel: refused
    // with both sizes before anything but the probe runs.
    void imageTooLargeNeverReachesTheChip()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QByteArray program = patternBytes(flashSize, 31), data = patternBytes(512, 32);
        bench.setStateFile(QStringLiteral("flash.bin"), program);
        bench.setStateFile(QStringLiteral("eeprom.bin"), data);
        const QString hex = f.folder() + QStringLiteral("/m16-firmware.hex");
        QVERIFY(writeBytes(hex, toIntelHex(patternBytes(16384, 33))));
        for (const bool flash : {true, false}) {
            f.dialogs.messages.clear();
            transfer(f, flash, true, hex);
            QCOMPARE(f.dialogs.messages.size(), 1);
            const QStringList shown = describe(f.dialogs.messages[0]);
            QCOMPARE(shown.mid(1), (QStringList{"错误", "critical", "ok"}));
            QVERIFY2(shown[0].contains(QStringLiteral("映像大小：16384 字节"))
                         && shown[0].contains(QStringLiteral("器件存储空间：") + (flash ? "8192" : "512") + " 字节")
                         && shown[0].contains(QStringLiteral("其他型号")),
                     qPrintable(shown[0]));
            QVERIFY(bench.window().strCommand.text.endsWith(QStringLiteral(" -E reset")));
            QVERIFY(!f.paneText().contains(QStringLiteral(" -U ")));
            QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), program);
            QCOMPARE(bench.stateFile(QStringLiteral("eeprom.bin")), data);
        }
    }

    // Images as avrdude's ":a" reads them: what it reads whole is written and
    // verified; what it would reject, misread or write in part is refused
    // before anything but the probe runs, and the chip keeps its program.
    void imagesAreTakenAsTheToolReadsThem_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("message"); // a fragment of the one box shown; empty: none
        const QByteArray hex = toIntelHex(patternBytes(6000, 41));
        QByteArray afterChecksum = hex, crOnly = hex, badSum = hex;
        afterChecksum.replace("\n", " ; checked\r\n");
        crOnly.replace('\n', '\r');
        const qsizetype thirdSum = 2 * 44 + 42; // the last digit of line 3's checksum
        badSum[thirdSum] = badSum[thirdSum] == '0' ? '1' : '0';
        const QString fresh = QString::fromLatin1(hex);
        const QByteArray utf16 =
            "\xff\xfe" + QByteArray(reinterpret_cast<const char *>(fresh.utf16()), 2 * fresh.size());
        QTest::newRow("comment line") << "; built by make\n" + hex << true << "";
        QTest::newRow("comment line, ATmega16 firmware")
            << "; built by make\n" + toIntelHex(patternBytes(12288, 42)) << false << "映像大小：12288 字节";
        QTest::newRow("text after the checksum") << afterChecksum << true << "";
        QTest::newRow("byte-order mark") << "\xef\xbb\xbf" + hex << false << "字节顺序标记（BOM）";
        QTest::newRow("UTF-16") << utf16 << false << "UTF-16";
        QTest::newRow("damaged checksum") << badSum << false << "第 3 行：记录的校验和不符";
        QTest::newRow("CR-only line ends") << crOnly << false << "行尾只有回车符（CR）";
        QTest::newRow("end-of-file record only") << QByteArray(":00000001FF\n") << false << "没有可写入的数据";
    }
    void imagesAreTakenAsTheToolReadsThem()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, written);
        QFETCH(QString, message);
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QByteArray program = patternBytes(flashSize, 40);
        bench.setStateFile(QStringLiteral("flash.bin"), program);
        const QString path = f.folder() + QStringLiteral("/firmware.hex");
        QVERIFY(writeBytes(path, content));
        transfer(f, true, true, path);
        const QString pane = f.paneText();
        if (written) {
            QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), padded(patternBytes(6000, 41), flashSize));
            QVERIFY2(pane.count(QStringLiteral("6000 bytes of flash verified")) == 2, qPrintable(pane));
            QVERIFY(f.dialogs.messages.isEmpty() && !pane.contains(QStringLiteral("提示：")));
            return;
        }
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), program);
        QCOMPARE(f.dialogs.messages.size(), 1);
        const QStringList shown = describe(f.dialogs.messages[0]);
        QCOMPARE(shown.mid(1), (QStringList{"错误", "critical", "ok"}));
        QVERIFY2(shown[0].contains(message) && shown[0].contains(QStringLiteral("器件中的程序保持不变")),
                 qPrintable(shown[0]));
        QVERIFY(bench.window().strCommand.text.endsWith(QStringLiteral(" -E reset")));
        QVERIFY(!pane.contains(QStringLiteral(" -U ")));
    }

    // A file dialog opened from the other panel while a slow write runs, and
    // held open past the silence limit, ends neither the write nor its
    // verification; the window stays idle meanwhile.
    void fileDialogHeldOpenDuringASlowWrite()
    {
        const struct SilenceLimit {
            SilenceLimit() { CommandRunner::setSilenceLimitMs(700); }
            ~SilenceLimit() { CommandRunner::setSilenceLimitMs(CommandRunner::defaultSilenceLimitMs); }
        } limit;
        SimBench bench(QStringLiteral("m8"), {QStringLiteral("--block"), QStringLiteral("0")});
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QByteArray image = patternBytes(flashSize, 44);
        const QString hex = f.folder() + QStringLiteral("/blink.hex");
        QVERIFY(writeBytes(hex, toIntelHex(image)));

        std::clock_t cpuHeld = 0;
        f.dialogs.whileChoosing = [&] {
            const std::clock_t start = std::clock();
            QEventLoop dialog;
            QTimer::singleShot(2000, &dialog, &QEventLoop::quit);
            dialog.exec();
            cpuHeld = std::clock() - start;
        };
        bool opened = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!opened && f.paneText().contains(QStringLiteral("Writing |"))) {
                opened = true;
                w.cmdEEPROM_Click(); // the dialog is cancelled when it closes
            }
        });
        watch.start(10);
        transfer(f, true, true, hex);
        QVERIFY(opened);
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), image);
        const QString pane = f.paneText();
        QVERIFY2(pane.count(QStringLiteral("8192 bytes of flash verified")) == 2, qPrintable(pane));
        QVERIFY2(!pane.contains(QStringLiteral("提示：")), qPrintable(pane));
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(w.strEepromFile, QString());
        // No busy loop: the 2 s the dialog was open cost a fraction of that in processor time.
        QVERIFY2(cpuHeld < CLOCKS_PER_SEC, qPrintable(QString::number(double(cpuHeld) / CLOCKS_PER_SEC)));
    }

    // The device switched while the first operation waits for the tool's
    // version: the image is measured against the chip chosen at the press.
    void deviceSwitchedDuringASlowVersionQuery()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QByteArray program = patternBytes(flashSize, 45);
        bench.setStateFile(QStringLiteral("flash.bin"), program);
        const QString hex = f.folder() + QStringLiteral("/m16-firmware.hex");
        QVERIFY(writeBytes(hex, toIntelHex(patternBytes(12288, 46))));
        const ToolHook slowVersion(0, "case \"$*\" in '-?') sleep 1;; esac");
        QTimer::singleShot(300, &w, [&] { f.choose("cmbDevice", QStringLiteral("ATmega16")); });
        transfer(f, true, true, hex);
        QCOMPARE(f.dialogs.messages.size(), 1);
        const QString shown = f.dialogs.messages[0].text;
        QVERIFY2(shown.contains(QStringLiteral("映像大小：12288 字节"))
                     && shown.contains(QStringLiteral("器件存储空间：8192 字节")),
                 qPrintable(shown));
        QVERIFY(w.strCommand.text.contains(QStringLiteral(" -p m8 ")) && w.strCommand.text.endsWith(" -E reset"));
        QCOMPARE(w.strPart, QStringLiteral("m16"));
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), program);
    }

    // Exact texts with a scripted tool: the pane grows while it runs with its
    // end in view, a character and a CR LF split over two reads come out
    // whole, and the final pane is the command, CR LF and the output.
    void paneGrowsWhileTheToolRunsAndEndsExact()
    {
        WindowFixture f;
        f.installFakeTool(R"(case "$*" in *"-E reset"*) echo "Device signature = 0x1e9307"; exit 0;; esac
seq 20; printf 'Writing | '; for i in 1 2 3 4 5; do printf '#'; sleep 0.03; done
printf '\r'; sleep 0.15; printf '\n\344'; sleep 0.15; printf '\270\255 done\n')");
        frmMain &w = f.open();
        w.show(); // the pane lays its lines out, so it can follow the end
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        PaneWatch watch(f);
        transfer(f, false, true, QStringLiteral("/tmp/e.hex"));
        const QString head = w.strCommand.text + QStringLiteral("\r\n");
        QString pane = head;
        for (int i = 1; i <= 20; ++i)
            pane += QString::number(i) + QLatin1Char('\n');
        pane += QStringLiteral("Writing | #####\r\n中 done\n");
        QCOMPARE(f.paneText(), pane);
        int parts = 0;
        for (const auto &[text, widget, endInView] : std::as_const(watch.shown)) {
            if (!text.startsWith(head))
                continue;
            QVERIFY2(pane.startsWith(text), qPrintable(text));
            QCOMPARE(widget, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QVERIFY(endInView);
            parts += text.size() > head.size() && text.size() < pane.size();
        }
        QVERIFY(parts > 0);

        // A failed verification ends with its hint in view.
        f.installFakeTool(R"(case "$*" in *"-E reset"*) echo "Device signature = 0x1e9307"; exit 0;; esac
seq 40; echo "avrdude error: verification mismatch"; exit 1)");
        transfer(f, true, true, QStringLiteral("/tmp/f.hex"));
        QVERIFY2(f.paneText().contains(QStringLiteral("mismatch\n\r\n提示：写入后校验不符")), qPrintable(f.paneText()));
        QVERIFY(endInView(f));
    }
};

FW_APP_TEST_MAIN(E2eMemory)
#include "e2e_memory.moc"
