// End to end: the Flash and EEPROM panels through the real avrdude to the
// virtual programmer, and the pane while a transfer runs.

#include "app/output_pane_edit.h"
#include "app_test_main.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "sim_bench.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#define REQUIRE_BENCH(bench) QVERIFY2((bench).ready(), qPrintable((bench).whyNotReady()))

namespace {
constexpr int flashSize = 8192;
constexpr int eepromSize = 512;

QByteArray hexImage(const QString &path)
{
    QByteArray image;
    return fromIntelHex(readBytes(path), image) ? image : QByteArray("not Intel HEX");
}

// Every pane snapshot taken while an operation runs.
struct PaneWatch {
    struct Shown {
        QString text, widget;   // the pane's text, what the widget shows
        bool endInView;
    };
    explicit PaneWatch(WindowFixture &f) : pane(f.find<OutputPaneEdit>("txtOutput"))
    {
        QObject::connect(&timer, &QTimer::timeout, [this, &f] {
            const QScrollBar *bar = pane->verticalScrollBar();
            if (f.window().operationRunning())
                shown << Shown{pane->paneText(), pane->toPlainText(), bar->value() == bar->maximum()};
        });
        timer.start(10);
    }
    OutputPaneEdit *pane;
    QTimer timer;
    QList<Shown> shown;
};

void choose(WindowFixture &f, const char *option, const QString &file, void (frmMain::*chooser)())
{
    f.find<QRadioButton>(option)->setChecked(true);
    f.dialogs.files.enqueue(file);
    (f.window().*chooser)();
}
} // namespace

class E2eMemory : public QObject {
    Q_OBJECT
private slots:
    // What the demo shows: program the ATmega8 from a .hex, read it back into a .bin.
    void programFromHexThenReadIntoBinWithLiveProgress()
    {
        // A classic programmer moves one byte per command: a transfer of
        // about a second, slow enough to watch.
        SimBench bench(QStringLiteral("m8"), {QStringLiteral("--block"), QStringLiteral("0")});
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QByteArray image = patternBytes(6000, 7) + QByteArray(16, char(0xFF)) + patternBytes(10, 8);
        const QString hex = f.folder() + QStringLiteral("/blink.hex");
        QVERIFY(writeBytes(hex, toIntelHex(image)));

        choose(f, "optFwr", hex, &frmMain::cmdFlash_Click);
        PaneWatch watch(f);
        w.cmdFrun_Click();
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), padded(image, flashSize));
        const QString command = w.strCommand.text;
        QVERIFY(command.endsWith(" -U flash:w:\"" + hex + "\":a  -U flash:v:\"" + hex + "\":a "));
        const QString pane = f.paneText();
        QVERIFY2(pane.startsWith(command + QStringLiteral("\r\n")), qPrintable(pane));
        QCOMPARE(pane.count(QStringLiteral("Writing |")), 1);
        QCOMPARE(pane.count(QStringLiteral("avrdude: 6026 bytes of flash verified")), 2);
        QVERIFY(pane.endsWith(QStringLiteral("avrdude done.  Thank you.\n\n")));
        bool partShown = false;
        for (const auto &[text, widget, endInView] : std::as_const(watch.shown)) {
            QVERIFY(pane.startsWith(text) || !text.startsWith(command));
            partShown |= text.startsWith(command) && text.contains(QStringLiteral("Writing | #"))
                         && !text.contains(QStringLiteral("bytes of flash written"));
        }
        QVERIFY2(partShown, "no part of the progress bar was shown while the tool ran");

        const QString bin = f.folder() + QStringLiteral("/back.bin");
        choose(f, "optFrd", bin, &frmMain::cmdFlash_Click);
        w.cmdFrun_Click();
        QCOMPARE(readBytes(bin), image);   // the tool leaves out the trailing 0xFF
        QVERIFY(w.strCommand.text.endsWith(" -U flash:r:\"" + bin + "\":r  -U flash:v:\"" + bin + "\":r "));
        QVERIFY2(f.paneText().contains(QStringLiteral("avrdude: 6026 bytes of flash verified")),
                 qPrintable(f.paneText()));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("保存在文件") + bin + QLatin1Char('?'));
        QCOMPARE(f.dialogs.fileRequests[1].fileName, hex);
    }

    // Blanks, a double quote, Chinese characters and a long path, both directions.
    void awkwardPathsReachTheToolWhole()
    {
        SimBench bench(QStringLiteral("m8"));
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        frmMain &w = bench.window();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        QTemporaryDir root;
        QString folder = root.path() + QStringLiteral("/my \"images\" 图像");
        for (int i = 0; i < 3; ++i)
            folder += QStringLiteral("/a rather long folder name that goes on ") + QString::number(i) + QString(60, 'x');
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(folder.size() > 300);
        const QString flashIn = folder + QStringLiteral("/flash image.bin");
        const QString flashOut = folder + QStringLiteral("/闪存 \"back\".HEX");
        const QString eepromIn = folder + QStringLiteral("/ee data.eep");
        const QString eepromHex = folder + QStringLiteral("/ee back.hex");
        const QString eepromBin = folder + QStringLiteral("/ee back.bin");
        const QString eepromHexIn = folder + QStringLiteral("/ee \"second\" 数据.hex");
        const QByteArray flash = patternBytes(5000, 21);
        const QByteArray eeprom = patternBytes(eepromSize, 22);
        const QByteArray eeprom2 = patternBytes(eepromSize, 23);
        QVERIFY(writeBytes(flashIn, flash) && writeBytes(eepromIn, eeprom) && writeBytes(eepromHexIn, toIntelHex(eeprom2)));

        choose(f, "optFwr", flashIn, &frmMain::cmdFlash_Click);
        w.cmdFrun_Click();
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), padded(flash, flashSize));
        QVERIFY(f.paneText().contains(QStringLiteral("5000 bytes of flash verified")));
        choose(f, "optFrd", flashOut, &frmMain::cmdFlash_Click);
        w.cmdFrun_Click();
        QCOMPARE(hexImage(flashOut), flash);
        QVERIFY(f.paneText().contains(QStringLiteral("5000 bytes of flash verified")));

        choose(f, "optEEwr", eepromIn, &frmMain::cmdEEPROM_Click);
        w.cmdErun_Click();
        QCOMPARE(bench.stateFile(QStringLiteral("eeprom.bin")), eeprom);
        QVERIFY(f.paneText().contains(QStringLiteral("512 bytes of eeprom verified")));
        choose(f, "optEErd", eepromHex, &frmMain::cmdEEPROM_Click);
        w.cmdErun_Click();
        QCOMPARE(hexImage(eepromHex), eeprom);
        QVERIFY(f.paneText().contains(QStringLiteral("512 bytes of eeprom verified")));
        choose(f, "optEEwr", eepromHexIn, &frmMain::cmdEEPROM_Click);
        w.cmdErun_Click();
        QCOMPARE(bench.stateFile(QStringLiteral("eeprom.bin")), eeprom2);
        QVERIFY(f.paneText().contains(QStringLiteral("512 bytes of eeprom verified")));
        choose(f, "optEErd", eepromBin, &frmMain::cmdEEPROM_Click);
        w.cmdErun_Click();
        QCOMPARE(readBytes(eepromBin), eeprom2);
        QVERIFY2(f.paneText().contains(QStringLiteral("512 bytes of eeprom verified")), qPrintable(f.paneText()));
        QVERIFY(w.strCommand.text.endsWith(" -U eeprom:r:\"" + eepromBin + "\":r  -U eeprom:v:\"" + eepromBin + "\":r "));
        QCOMPARE(w.strCommand.arguments.mid(8), (QStringList{"-U", "eeprom:r:" + eepromBin + ":r", "-U",
                                                             "eeprom:v:" + eepromBin + ":r"}));
        QCOMPARE(f.dialogs.messages.size(), 3);   // the three overwrite questions

        QStringList files;
        for (QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
        files.sort();
        QStringList expected{flashIn, flashOut, eepromIn, eepromHex, eepromBin, eepromHexIn};
        expected.sort();
        QCOMPARE(files, expected);
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
        QCOMPARE(shown[0].text, QStringLiteral("请选择FLASH文件"));
        QCOMPARE(shown[0].title, QStringLiteral("错误"));
        QCOMPARE(shown[0].icon, MessageIcon::Critical);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].mode, FileDialogMode::Open);
        QCOMPARE(asked[0].filter, QStringLiteral("Intel HEX File(*.hex)|*.hex|Binary(*.bin)|*.bin"));
        QCOMPARE(asked[0].initialDir, f.folder());
        QCOMPARE(asked[0].fileName, QString());

        // The EEPROM panel chooses a file to read into; the Flash panel cancels twice.
        const QString eep = f.folder() + QStringLiteral("/data.eep");
        choose(f, "optEErd", eep, &frmMain::cmdEEPROM_Click);
        QCOMPARE(asked[1].mode, FileDialogMode::Save);
        w.cmdFlash_Click();
        w.cmdFrun_Click();
        QCOMPARE(asked.size(), 4);
        QCOMPARE(asked[3].fileName, eep);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(w.strFlashFile, QString());
        QCOMPARE(f.find<QLineEdit>("txtFlash")->text(), QString());
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral(" -E reset")));

        // No to the overwrite question.
        f.dialogs.answers.enqueue(MessageAnswer::No);
        w.cmdErun_Click();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[2].text, QStringLiteral("保存在文件") + eep + QLatin1Char('?'));
        QCOMPARE(shown[2].title, QStringLiteral("是否覆盖文件"));
        QCOMPARE(shown[2].icon, MessageIcon::Question);
        QCOMPARE(shown[2].buttons, MessageButtons::YesNo);
        QVERIFY(w.strCommand.text.endsWith(QStringLiteral(" -E reset")));
        QVERIFY(w.strEepromOp.isEmpty());
        QVERIFY(!QFile::exists(eep));

        // A cancelled EEPROM choice keeps its file.
        w.cmdEEPROM_Click();
        QCOMPARE(w.strEepromFile, eep);
        QCOMPARE(f.find<QLineEdit>("txtEEPROM")->text(), eep);
        QVERIFY(f.find<QPushButton>("cmdFrun")->isEnabled() && f.find<QPushButton>("cmdErun")->isEnabled());
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), QByteArray(flashSize, char(0xFF)));
        QCOMPARE(bench.stateFile(QStringLiteral("eeprom.bin")), QByteArray(eepromSize, char(0xFF)));
    }

    void wrongOrMissingChipStopsBeforeTransfer_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<bool>("flash");
        QTest::newRow("ATmega16 on the programmer, Flash program") << "m16" << true;
        QTest::newRow("empty socket, EEPROM read") << "none" << false;
    }
    void wrongOrMissingChipStopsBeforeTransfer()
    {
        QFETCH(QString, chip);
        QFETCH(bool, flash);
        SimBench bench(chip);
        REQUIRE_BENCH(bench);
        WindowFixture &f = bench.fixture();
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
        const QString image = f.folder() + QStringLiteral("/image.bin");
        QVERIFY(writeBytes(image, "image"));
        if (flash)
            choose(f, "optFwr", image, &frmMain::cmdFlash_Click);
        else
            choose(f, "optEErd", image, &frmMain::cmdEEPROM_Click);
        const QByteArray flashBefore = bench.stateFile(QStringLiteral("flash.bin"));
        flash ? bench.window().cmdFrun_Click() : bench.window().cmdErun_Click();
        QCOMPARE(f.paneText(), QString());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.startsWith(QStringLiteral("编程器或器件错误\r\nDevice signature=")));
        QVERIFY(bench.window().strCommand.text.endsWith(QStringLiteral(" -E reset")));
        QCOMPARE(readBytes(image), QByteArray("image"));
        QCOMPARE(bench.stateFile(QStringLiteral("flash.bin")), flashBefore);
    }

    // Exact texts with a scripted tool: the pane grows while it runs, a
    // character and a CR LF split over two reads come out whole, and the
    // final pane is the command, CR LF and the output.
    void paneGrowsWhileTheToolRunsAndEndsExact()
    {
        WindowFixture f;
        f.installFakeTool(R"(case "$*" in *"-E reset"*) echo "Device signature = 0x1e9307"; exit 0;; esac
seq 20; printf 'Writing | '; for i in 1 2 3 4 5; do printf '#'; sleep 0.03; done
printf '\r'; sleep 0.15; printf '\n\344'; sleep 0.15; printf '\270\255 done\n')");
        frmMain &w = f.open();
        w.show();   // the pane lays its lines out, so it can follow the end
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        f.chooseAll(QStringLiteral("ATmega8"), QStringLiteral("usbasp"), QStringLiteral("usb"));
        choose(f, "optEEwr", QStringLiteral("/tmp/e.hex"), &frmMain::cmdEEPROM_Click);
        PaneWatch watch(f);
        w.cmdErun_Click();
        const QString head = w.strCommand.text + QStringLiteral("\r\n");
        QString lines;
        for (int i = 1; i <= 20; ++i)
            lines += QString::number(i) + QLatin1Char('\n');
        const QString pane = head + lines + QStringLiteral("Writing | #####\r\n中 done\n");
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
    }
};

FW_APP_TEST_MAIN(E2eMemory)
#include "e2e_memory.moc"
