// The user's ports.ini: a list text mapped to a device name of the user's
// choice reaches the tool as one word; without the file or the key the
// default device names stay.

#include "platform/port_overrides.h"
#include "runner/command_grammar.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The words the tool gets after -P for a port list text, with the user's file read afresh.
QStringList portWords(const QString &listText)
{
    platform::PathRendering rendering = platform::posixRendering();
    rendering.portOverrides = platform::userPortOverrides();
    const Selections chosen{QStringLiteral("m8"), QStringLiteral("avr910"), listText};
    const QStringList words = grammar::commandPrefix(rendering, QStringLiteral("/opt/fw"), chosen).arguments;
    return words.mid(words.indexOf(QStringLiteral("-P")));
}
} // namespace

class TestPortOverrides : public QObject {
    Q_OBJECT
private slots:
    void theFileRenamesOnlyItsKeys()
    {
        QTemporaryDir config;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        QCOMPARE(portWords(QStringLiteral("com1")), QStringList({"-P", "/dev/ttyS0"}));
        QCOMPARE(portWords(QStringLiteral("usb")), QStringList({"-P", "usb"}));

        QDir(config.path()).mkpath(QStringLiteral("Fusewright"));
        QFile ini(config.path() + QStringLiteral("/Fusewright/ports.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("com1=/dev/ttyUSB0\n"
                  "usb=/dev/serial/by-id/usb-My Adapter $HOME\n"
                  "com3=\"/dev/ttyACM0, spare\"\n"
                  "com4=\n"
                  // taken as typed, never as one of Qt's serialised values (here a QPixmap)
                  "lpt1=@Variant(\\0\\0\\0\\x41\\0\\0\\0\\0)\n"
                  "lpt2=@ByteArray(/dev/parport7)\n");
        ini.close();
        QCOMPARE(portWords(QStringLiteral("com1")), QStringList({"-P", "/dev/ttyUSB0"}));
        QCOMPARE(portWords(QStringLiteral("usb")), QStringList({"-P", "/dev/serial/by-id/usb-My Adapter $HOME"}));
        QCOMPARE(portWords(QStringLiteral("com3")), QStringList({"-P", "/dev/ttyACM0, spare"}));
        QCOMPARE(portWords(QStringLiteral("com4")), QStringList({"-P", "/dev/ttyS3"})); // empty value: ignored
        QCOMPARE(portWords(QStringLiteral("com2")), QStringList({"-P", "/dev/ttyS1"}));
        QCOMPARE(portWords(QStringLiteral("lpt1")), QStringList({"-P", "@Variant(\\0\\0\\0\\x41\\0\\0\\0\\0)"}));
        QCOMPARE(portWords(QStringLiteral("lpt2")), QStringList({"-P", "@ByteArray(/dev/parport7)"}));
    }
};

QTEST_GUILESS_MAIN(TestPortOverrides)
#include "test_port_overrides.moc"
