// The user's ports.ini: whatever it holds, every override found is one
// non-empty device name, and that name reaches the tool as one argument word.

#include "fuzz_check.h"
#include "platform/port_overrides.h"
#include "runner/command_grammar.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static quint64 serial = 0;
    // A new name each time: QSettings keeps what it parsed by file name and
    // may not notice a rewrite within the same millisecond.
    const QString path = folder.filePath(QStringLiteral("ports-%1.ini").arg(++serial));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(fuzzBytes(data, size)) == qint64(size));
    }
    platform::PortOverrides overrides;
    {
        QSettings settings(path, QSettings::IniFormat);
        overrides = platform::readPortOverrides(settings);
    }
    QFile::remove(path);

    platform::PathRendering rendering = platform::posixRendering();
    rendering.portOverrides = overrides;
    for (auto it = overrides.constBegin(); it != overrides.constEnd(); ++it) {
        FUZZ_CHECK(!it.value().isEmpty());
        FUZZ_CHECK(platform::nativePortName(rendering, it.key()) == it.value());
        const ToolCommand prefix =
            grammar::commandPrefix(rendering, QStringLiteral("/opt/fw"), {QStringLiteral("m8"), QStringLiteral("avr910"), it.key()});
        FUZZ_CHECK(prefix.arguments.size() == 8);
        FUZZ_CHECK(prefix.arguments.at(7) == it.value());
        FUZZ_CHECK(prefix.text.endsWith(QStringLiteral(" -P ") + it.value()));
    }
    // The list texts without an entry keep their own devices.
    if (!overrides.contains(QStringLiteral("com1")))
        FUZZ_CHECK(platform::nativePortName(rendering, QStringLiteral("com1")) == QLatin1String("/dev/ttyS0"));
    if (!overrides.contains(QStringLiteral("usb")))
        FUZZ_CHECK(platform::nativePortName(rendering, QStringLiteral("usb")) == QLatin1String("usb"));
    return 0;
}
