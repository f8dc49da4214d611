#include "memory/reset_operation.h"
#include "platform/platform.h"
#include "runner/command_grammar.h"
#include "runner/signature_check.h"

#include <QtTest>

using platform::posixRendering;
using platform::windowsRendering;

class TestCommandGrammar : public QObject {
    Q_OBJECT
private slots:
    void windowsPrefixAndResetReadLikeTheDocumentedLines()
    {
        const ToolCommand c =
            grammar::commandPrefix(windowsRendering(), QStringLiteral("D:\\prog"),
                                   {QStringLiteral("m8"), QStringLiteral("pony-stk200"), QStringLiteral("lpt1")});
        QCOMPARE(c.text, QStringLiteral("D:\\prog\\tools\\avrdude.exe -p m8 -C D:\\prog\\tools\\avrdude.conf "
                                        "-c pony-stk200 -P lpt1"));
        QCOMPARE(c.program, QStringLiteral("D:\\prog\\tools\\avrdude.exe"));
        QCOMPARE(c.arguments,
                 (QStringList{"-p", "m8", "-C", "D:\\prog\\tools\\avrdude.conf", "-c", "pony-stk200", "-P", "lpt1"}));
        QCOMPARE(resetCommand(c).text, c.text + QStringLiteral(" -E reset"));
        QCOMPARE(resetCommand(c).arguments, c.arguments + QStringList({"-E", "reset"}));
    }

    void posixPrefixUsesSlashesNoSuffixAndDeviceNames()
    {
        const ToolCommand c =
            grammar::commandPrefix(posixRendering(), QStringLiteral("/opt/fw"),
                                   {QStringLiteral("m16"), QStringLiteral("avr910"), QStringLiteral("com1")});
        QCOMPARE(c.text, QStringLiteral("/opt/fw/tools/avrdude -p m16 -C /opt/fw/tools/avrdude.conf "
                                        "-c avr910 -P /dev/ttyS0"));
        QCOMPARE(c.program, QStringLiteral("/opt/fw/tools/avrdude"));
        QCOMPARE(c.arguments,
                 (QStringList{"-p", "m16", "-C", "/opt/fw/tools/avrdude.conf", "-c", "avr910", "-P", "/dev/ttyS0"}));
        QVERIFY(resetCommand(c).text.endsWith(QStringLiteral("-c avr910 -P /dev/ttyS0 -E reset")));
    }

    void portListTextsMapToDeviceNames_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("posix");
        QTest::newRow("lpt1") << "lpt1"
                              << "/dev/parport0";
        QTest::newRow("lpt2") << "lpt2"
                              << "/dev/parport1";
        QTest::newRow("com1") << "com1"
                              << "/dev/ttyS0";
        QTest::newRow("com2") << "com2"
                              << "/dev/ttyS1";
        QTest::newRow("com3") << "com3"
                              << "/dev/ttyS2";
        QTest::newRow("com4") << "com4"
                              << "/dev/ttyS3";
        QTest::newRow("usb") << "usb"
                             << "usb";
        QTest::newRow("typed text passes unchanged") << "COM1"
                                                     << "COM1";
    }
    void portListTextsMapToDeviceNames()
    {
        QFETCH(QString, list);
        QFETCH(QString, posix);
        QCOMPARE(platform::nativePortName(posixRendering(), list), posix);
        QCOMPARE(platform::nativePortName(windowsRendering(), list), list);
    }

    void folderWithBlankIsShownUnquotedButStaysOneArgument()
    {
        const ToolCommand c =
            grammar::commandPrefix(windowsRendering(), QStringLiteral("C:\\My Tools"),
                                   {QStringLiteral("m8"), QStringLiteral("usbasp"), QStringLiteral("usb")});
        QVERIFY(c.text.startsWith(
            QStringLiteral("C:\\My Tools\\tools\\avrdude.exe -p m8 -C C:\\My Tools\\tools\\avrdude.conf ")));
        QCOMPARE(c.program, QStringLiteral("C:\\My Tools\\tools\\avrdude.exe"));
        QCOMPARE(c.arguments.at(3), QStringLiteral("C:\\My Tools\\tools\\avrdude.conf"));

        const ToolCommand p =
            grammar::commandPrefix(posixRendering(), QStringLiteral("/home/a b/fw"),
                                   {QStringLiteral("m8"), QStringLiteral("usbasp"), QStringLiteral("usb")});
        QCOMPARE(p.program, QStringLiteral("/home/a b/fw/tools/avrdude"));
        QCOMPARE(p.arguments.size(), 8);
    }

    void memoryFragmentQuotesThePathInTextOnly()
    {
        const CommandFragment w = grammar::memoryFragment(QStringLiteral("flash"), QLatin1Char('w'),
                                                          QStringLiteral("D:\\img\\a.bin"), QLatin1Char('a'), true);
        const CommandFragment v = grammar::memoryFragment(QStringLiteral("flash"), QLatin1Char('v'),
                                                          QStringLiteral("D:\\img\\a.bin"), QLatin1Char('i'), true);
        QCOMPARE((w + v).text, QStringLiteral(" -U flash:w:\"D:\\img\\a.bin\":a  -U flash:v:\"D:\\img\\a.bin\":i "));
        QCOMPARE((w + v).arguments, (QStringList{"-U", "flash:w:D:\\img\\a.bin:a", "-U", "flash:v:D:\\img\\a.bin:i"}));

        const CommandFragment cal =
            grammar::memoryFragment(QStringLiteral("calibration"), QLatin1Char('r'),
                                    QStringLiteral("/p/tools/fuse.bin"), QLatin1Char('r'), false);
        QCOMPARE(cal.text, QStringLiteral(" -U calibration:r:\"/p/tools/fuse.bin\":r"));
    }

    void hostilePathsStayInsideTheirWord()
    {
        const QString path = QStringLiteral("/img/my file\" -U flash:w:/etc/x:a ;$(rm -rf ~).hex");
        const CommandFragment f =
            grammar::memoryFragment(QStringLiteral("flash"), QLatin1Char('w'), path, QLatin1Char('a'), true);
        QCOMPARE(f.arguments.size(), 2);
        QCOMPARE(f.arguments.at(1), QStringLiteral("flash:w:") + path + QStringLiteral(":a"));
    }

    void flagsAddOneWordEach()
    {
        QCOMPARE(grammar::resetExitFlag().text, QStringLiteral(" -E reset"));
        QCOMPARE(grammar::resetExitFlag().arguments, (QStringList{"-E", "reset"}));
        QCOMPARE(grammar::forceFlag().text, QStringLiteral(" -F"));
        QCOMPARE(grammar::forceFlag().arguments, QStringList{"-F"});
        QCOMPARE(grammar::unsafeFlag().text, QStringLiteral(" -u"));
        QCOMPARE(grammar::unsafeFlag().arguments, QStringList{"-u"});
    }

    void probeAndResetAreTheSameLine()
    {
        const ToolCommand prefix =
            grammar::commandPrefix(posixRendering(), QStringLiteral("/x"),
                                   {QStringLiteral("m8"), QStringLiteral("usbasp"), QStringLiteral("usb")});
        const ToolCommand probe = signatureProbeCommand(prefix, ToolDialect::assumed());
        QCOMPARE(probe.text,
                 QStringLiteral("/x/tools/avrdude -p m8 -C /x/tools/avrdude.conf -c usbasp -P usb -E reset"));
        QCOMPARE(probe.text, resetCommand(prefix).text);
        QCOMPARE(probe.arguments, resetCommand(prefix).arguments);
    }
};

QTEST_GUILESS_MAIN(TestCommandGrammar)
#include "test_command_grammar.moc"
