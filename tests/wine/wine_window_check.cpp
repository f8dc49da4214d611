// Runs under Wine from the unpacked Windows zip or the installed program: the
// program's main window in its own folder, whose tools\avrdude.exe reaches
// the virtual programmer through COM1, and in the zip's copy the virtual
// USBasp through the stand-in libusb-1.0.dll. FW_WINE_CHIP names the virtual
// chip's state folder; FW_WINE_USER_EXCHANGE says the tools folder takes no
// file, so the exchange files go to %LOCALAPPDATA%\Fusewright.

#include "app/frmMain.h"
#include "app/output_pane_edit.h"
#include "app_test_main.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "platform/instance_lock.h"
#include "runner/command_runner.h"
#include "scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include <windows.h>
#include <winternl.h>

namespace {
// The handles this process holds, from the system's handle table (Wine's
// GetProcessHandleCount answers 0).
int openHandles()
{
    std::vector<char> table(1 << 20);
    ULONG needed = 0;
    while (::NtQuerySystemInformation(SystemHandleInformation, table.data(), ULONG(table.size()), &needed)
           == NTSTATUS(0xC0000004L)) // the table did not fit
        table.resize(table.size() * 2);
    const auto *list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION *>(table.data());
    int mine = 0;
    for (ULONG i = 0; i < list->Count; ++i)
        mine += list->Handle[i].OwnerPid == ::GetCurrentProcessId();
    return mine;
}
} // namespace

class WineWindowCheck : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;
    platform::InstanceLock lock{QStringLiteral("fusewright-wine-check")};
    std::unique_ptr<frmMain> window;
    const QString folder = platform::programFolder();
    const QString tools = folder + QStringLiteral("\\tools");
    const QString exchange = qEnvironmentVariableIsSet("FW_WINE_USER_EXCHANGE")
                                 ? qEnvironmentVariable("LOCALAPPDATA") + QStringLiteral("\\Fusewright")
                                 : tools;

    template <typename T> T *find(const char *name, QWidget *in = nullptr) const
    {
        return (in ? in : window.get())->findChild<T *>(QString::fromLatin1(name));
    }
    void choose(const char *combo, const QString &text)
    {
        auto *box = find<QComboBox>(combo);
        box->setCurrentIndex(box->findText(text, Qt::MatchExactly));
        emit box->activated(box->currentIndex());
    }
    void click(const char *button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    QString pane() const { return find<OutputPaneEdit>("txtOutput")->paneText(); }
    QString chipFile(const char *file) const
    {
        return qEnvironmentVariable("FW_WINE_CHIP") + QLatin1Char('\\') + QLatin1String(file);
    }
    QByteArray chip(const char *file) const { return readBytes(chipFile(file)); }
    QStringList ticked() const
    {
        QStringList labels;
        for (int i = 0; i < 32; ++i)
            if (window->chkFuse(i)->isChecked())
                labels << window->chkFuse(i)->text();
        return labels;
    }

private slots:
    void initTestCase()
    {
        AppEnvironment env;
        env.programFolder = folder;
        env.rendering = platform::nativeRendering();
        env.dialogs = &dialogs;
        env.instanceLock = &lock;
        window = std::make_unique<frmMain>(env);
        window->Form_Load();
        QVERIFY(!window->startRefused());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void captionsAndAboutWindow()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Fusewright"));
        QStringList captions;
        for (const char *frame : {"fraDevice", "fraPrg", "fraPort", "fraFuse", "fraFlash"})
            captions << find<QGroupBox>(frame)->title();
        for (const char *button : {"cmdFuseRD", "cmdFuseWR", "cmdRst", "cmdFrun"})
            captions << find<QPushButton>(button)->text();
        QCOMPARE(captions, QStringList({"器件选择", "编程器类型", "端口选择", "熔丝位设置", "FLASH", "读取", "写入",
                                        "复位器件", "运行"}));
        // Qt's own texts, from the zip's translations folder.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));

        window->labURL_Click();
        QWidget *about = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmSplash") && w->isVisible())
                about = w;
        QVERIFY(about);
        QCOMPARE(find<QLabel>("lblPlatform", about)->text(), QStringLiteral("for windows"));
        QCOMPARE(find<QLabel>("lblVersion", about)->text(), QStringLiteral("版本 1.0.0"));
        QCOMPARE(find<QLabel>("lblPlatform", about)->font().families().mid(0, 2), QStringList({"宋体", "SimSun"}));
        about->close();
    }

    // Every byte through the real avrdude.exe, COM1 and the virtual chip.
    void fuseReadPresetWriteAndFlashThroughCom1()
    {
        choose("cmbDevice", QStringLiteral("ATmega8"));
        choose("cmbPgr", QStringLiteral("avr910"));
        choose("cmbPort", QStringLiteral("com1"));
        const QString prefix = tools + "\\avrdude.exe -p m8 -C " + tools + "\\avrdude.conf -c avr910 -P com1";

        click("cmdFuseRD");
        QCOMPARE(ticked(), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));
        QCOMPARE(window->strCommand.text, prefix + " -U lock:r:\"" + exchange + "\\fuse.bin\":r");
        QVERIFY2(pane().count(QStringLiteral("avrdude done.  Thank you.")) == 3, qPrintable(pane()));

        choose("cmbOsc", QStringLiteral("内部RC 8MHz"));
        dialogs.answers.enqueue(MessageAnswer::Ok);
        click("cmdFuseWR");
        QCOMPARE(chip("lfuse") + chip("hfuse") + chip("lock"), QByteArray("\xE4\xD9\xFF"));
        QCOMPARE(window->strCommand.text, prefix + " -U lfuse:w:\"" + exchange + "\\lfuse.bin\":r -U hfuse:w:\""
                                              + exchange + "\\hfuse.bin\":r -U lock:w:\"" + exchange
                                              + "\\lock.bin\":r");
        QVERIFY2(pane().startsWith(window->strCommand.text + "\r\n") && pane().contains("avrdude done."),
                 qPrintable(pane()));

        // The demo image, 1 KiB counting 0 to 254, in a folder whose name
        // the ANSI code page cannot write.
        QByteArray image(1024, 0);
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i % 255);
        const QTemporaryDir hexFolder(QDir::tempPath() + QStringLiteral("/固件-XXXXXX"));
        const QString hex = QDir::toNativeSeparators(hexFolder.filePath(QStringLiteral("demo.hex")));
        QVERIFY(hexFolder.isValid());
        BOOL lossy = FALSE;
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t *>(hex.utf16()), -1, nullptr,
                              0, nullptr, &lossy);
        QVERIFY2(lossy, "the prefix's ANSI code page can write 固件");
        QVERIFY(writeBytes(hex, toIntelHex(image)));
        find<QRadioButton>("optFwr")->setChecked(true);
        dialogs.files.enqueue(hex);
        click("cmdFlash");
        click("cmdFrun");
        QVERIFY2(pane().contains("verifying flash memory against " + hex)
                     && pane().contains(QStringLiteral("1024 bytes of flash verified")),
                 qPrintable(pane()));
        QVERIFY(window->strCommand.text.startsWith(prefix + " "));
        QVERIFY(window->strCommand.text.contains(" -U flash:w:\"" + hex + "\":a "));
        QCOMPARE(chip("flash.bin").left(1024), image);

        QCOMPARE(dialogs.messages.size(), 1); // only the write's confirmation
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("确定进行熔丝位的写入？"));
        QCOMPARE(QDir(tools).entryList({"*.bin"}, QDir::Files) + QDir(exchange).entryList({"*.bin"}, QDir::Files),
                 QStringList());
    }

    // The same chip through "usbasp" on "usb", its lfuse set back to the
    // factory byte so that the write has something to change. The Flash still
    // holds the image above: the erase before programming comes through USB too.
    void fuseReadPresetWriteAndFlashThroughUsb()
    {
        QVERIFY(writeBytes(chipFile("lfuse"), QByteArray("\xE1")));
        choose("cmbPgr", QStringLiteral("usbasp"));
        choose("cmbPort", QStringLiteral("usb"));
        const QString prefix = tools + "\\avrdude.exe -p m8 -C " + tools + "\\avrdude.conf -c usbasp -P usb";

        click("cmdFuseRD");
        QCOMPARE(window->strCommand.text, prefix + " -U lock:r:\"" + exchange + "\\fuse.bin\":r");
        QCOMPARE(ticked(), QStringList({"SPIEN", "BTSIZ1", "BTSIZ0", "SUT0", "CKSEL3", "CKSEL2", "CKSEL1"}));

        choose("cmbOsc", QStringLiteral("内部RC 8MHz"));
        dialogs.answers.enqueue(MessageAnswer::Ok);
        click("cmdFuseWR");
        QVERIFY(window->strCommand.text.startsWith(prefix + " -U lfuse:w:"));
        QCOMPARE(chip("lfuse") + chip("hfuse") + chip("lock"), QByteArray("\xE4\xD9\xFF"));
        QVERIFY2(pane().contains("1 byte of lfuse verified"), qPrintable(pane()));

        QByteArray image(1024, 0);
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(255 - i % 251);
        const QString hex = folder + QStringLiteral("\\usb.hex");
        QVERIFY(writeBytes(hex, toIntelHex(image)));
        find<QRadioButton>("optFwr")->setChecked(true);
        dialogs.files.enqueue(hex);
        click("cmdFlash");
        click("cmdFrun");
        QVERIFY(window->strCommand.text.startsWith(prefix + " "));
        QVERIFY2(pane().contains(QStringLiteral("1024 bytes of flash verified")), qPrintable(pane()));
        QCOMPARE(chip("flash.bin"), image + QByteArray(8192 - 1024, char(0xFF)));
        QCOMPARE(dialogs.messages.size(), 2); // the two writes' confirmations
    }

    // The runner on Windows: both outputs in order, an interrupt that ends
    // the child, a missing program, and no handle left behind by any of it.
    void runnerCapturesInterruptsAndLeaksNoHandle()
    {
        const auto shell = [](const QString &line) {
            ToolCommand c;
            c.program = qEnvironmentVariable("SystemRoot") + QStringLiteral("\\system32\\cmd.exe");
            c.arguments = QStringList{QStringLiteral("/c"), line};
            return c;
        };
        CommandRunner runner;
        runner.run(shell(QStringLiteral("echo warm-up")));
        const int handlesBefore = openHandles();
        QVERIFY(handlesBefore > 0);

        for (int i = 0; i < 5; ++i)
            QCOMPARE(runner.run(shell(QStringLiteral("echo out 1&echo err 2 1>&2&echo out 3"))).text,
                     QStringLiteral("out 1\r\nerr 2 \r\nout 3\r\n"));

        // Stopped once its first lines are in, however long Wine takes to start cmd.
        qsizetype lines = 0;
        runner.setOutputListener([&](const char *data, qsizetype size) {
            lines += std::count(data, data + size, '\n');
            if (lines >= 3)
                runner.interrupt();
        });
        QTimer patience;
        patience.setSingleShot(true);
        connect(&patience, &QTimer::timeout, this, [&runner] { runner.interrupt(); });
        patience.start(60000);
        const RunOutcome endless = runner.run(shell(QStringLiteral("for /l %i in (1,1,10000000) do @echo %i")));
        runner.setOutputListener(nullptr);
        QVERIFY(endless.interrupted && !runner.isRunning());
        QVERIFY(endless.text.startsWith(QStringLiteral("1\r\n2\r\n3\r\n")));

        ToolCommand missing = shell(QString());
        missing.program = folder + QStringLiteral("\\tools\\missing.exe");
        const RunOutcome failed = runner.run(missing);
        QVERIFY(failed.failure == RunOutcome::Failure::Start && failed.errorNumber == ERROR_FILE_NOT_FOUND);

        QCOMPARE(openHandles(), handlesBefore);
    }
};

FW_APP_TEST_MAIN(WineWindowCheck)
#include "wine_window_check.moc"
