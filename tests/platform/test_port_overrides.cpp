// The user's ports.ini: a list text mapped to a device name of the user's
// choice reaches the tool as one word; without the file or the key the
// default device names stay.

#include "platform/port_overrides.h"
#include "runner/command_grammar.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestPortOverrides : public QObject {
    Q_OBJECT
    QTemporaryDir m_config;

    QStringList toolArguments(const QString &listText)
    {
        platform::PathRendering rendering = platform::posixRendering();
        rendering.portOverrides = platform::userPortOverrides();
        const Selections chosen{QStringLiteral("m8"), QStringLiteral("avr910"), listText};
        return grammar::commandPrefix(rendering, QStringLiteral("/opt/fw"), chosen).arguments;
    }
    QString portWord(const QString &listText)
    {
        const QStringList words = toolArguments(listText);
        const qsizetype at = words.indexOf(QStringLiteral("-P"));
        return at >= 0 && at + 1 < words.size() ? words[at + 1] : QString();
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    }

    void withoutTheFileTheDefaultNames()
    {
        QCOMPARE(portWord(QStringLiteral("com1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(portWord(QStringLiteral("lpt2")), QStringLiteral("/dev/parport1"));
        QCOMPARE(portWord(QStringLiteral("usb")), QStringLiteral("usb"));
    }

    void theFileRenamesOnlyItsKeys()
    {
        QDir(m_config.path()).mkpath(QStringLiteral("Fusewright"));
        QFile ini(m_config.path() + QStringLiteral("/Fusewright/ports.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("com1=/dev/ttyUSB0\n"
                  "usb=/dev/serial/by-id/usb-My Adapter $HOME\n"
                  "com3=\"/dev/ttyACM0, spare\"\n"
                  "com4=\n");
        ini.close();

        const QStringList words = toolArguments(QStringLiteral("com1"));
        QCOMPARE(words.mid(words.indexOf(QStringLiteral("-P")), 2),
                 QStringList({QStringLiteral("-P"), QStringLiteral("/dev/ttyUSB0")}));
        QCOMPARE(portWord(QStringLiteral("usb")), QStringLiteral("/dev/serial/by-id/usb-My Adapter $HOME"));
        QCOMPARE(portWord(QStringLiteral("com3")), QStringLiteral("/dev/ttyACM0, spare"));
        QCOMPARE(portWord(QStringLiteral("com4")), QStringLiteral("/dev/ttyS3"));   // empty value: ignored
        QCOMPARE(portWord(QStringLiteral("com2")), QStringLiteral("/dev/ttyS1"));
        QCOMPARE(portWord(QStringLiteral("COM1")), QStringLiteral("COM1"));   // keys are list texts exactly
    }
};

QTEST_GUILESS_MAIN(TestPortOverrides)
#include "test_port_overrides.moc"
