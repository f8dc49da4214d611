// The user's ports.ini: whatever it holds, every override found is one
// non-empty device name on one line, and that name reaches the tool as one
// argument word.

#include "fuzz_check.h"
#include "platform/port_overrides.h"
#include "runner/command_grammar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const platform::PortOverrides overrides = platform::readPortOverrides(fuzzBytes(data, size));

    platform::PathRendering rendering = platform::posixRendering();
    rendering.portOverrides = overrides;
    for (auto it = overrides.constBegin(); it != overrides.constEnd(); ++it) {
        FUZZ_CHECK(!it.key().isEmpty() && !it.value().isEmpty());
        for (const QString &text : {it.key(), it.value()})
            FUZZ_CHECK(!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')));
        FUZZ_CHECK(!it.key().contains(QLatin1Char('=')));
        FUZZ_CHECK(platform::nativePortName(rendering, it.key()) == it.value());
        const ToolCommand prefix = grammar::commandPrefix(rendering, QStringLiteral("/opt/fw"),
                                                          {QStringLiteral("m8"), QStringLiteral("avr910"), it.key()});
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
