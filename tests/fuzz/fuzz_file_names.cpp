// File names chosen or typed by the user, and the folder the program was
// unpacked into, with quotes, blanks and characters outside ASCII: each
// reaches the tool whole inside one argument word, and the pane shows it
// between quotation marks. The first byte picks the memory, the direction
// and the system's way of writing paths.

#include "fuzz_check.h"
#include "memory/image_transfer.h"
#include "runner/command_grammar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const QString name = QString::fromUtf8(fuzzBytes(data + 1, size - 1));
    const MemoryKind kind = choice & 1 ? MemoryKind::Eeprom : MemoryKind::Flash;
    const TransferDirection direction = choice & 2 ? TransferDirection::Read : TransferDirection::Program;
    const platform::PathRendering rendering = choice & 4 ? platform::windowsRendering() : platform::posixRendering();

    const QChar format = transferFormatLetter(direction, name);
    if (direction == TransferDirection::Program)
        FUZZ_CHECK(format == QLatin1Char('a'));
    else
        FUZZ_CHECK(format == (name.toLower().endsWith(QLatin1String(".hex")) ? QLatin1Char('i') : QLatin1Char('r')));

    const QChar operation = direction == TransferDirection::Program ? QLatin1Char('w') : QLatin1Char('r');
    const CommandFragment transfer = transferFragment(kind, direction, name);
    const CommandFragment verify = verifyFragment(kind, direction, name);
    for (const auto &[fragment, op] : {std::pair{transfer, operation}, std::pair{verify, QChar(QLatin1Char('v'))}}) {
        const QString head = memoryName(kind) + QLatin1Char(':') + op + QLatin1Char(':');
        const QString tail = QLatin1Char(':') + QString(format);
        FUZZ_CHECK(fragment.arguments == QStringList({QStringLiteral("-U"), head + name + tail}));
        FUZZ_CHECK(fragment.text
                   == QStringLiteral(" -U ") + head + QLatin1Char('"') + name + QLatin1Char('"') + tail
                          + QLatin1Char(' '));
    }

    // The same text as the program's folder.
    const ToolCommand prefix = grammar::commandPrefix(
        rendering, name, {QStringLiteral("m16"), QStringLiteral("usbasp"), QStringLiteral("usb")});
    const QString tools = name + rendering.separator + QStringLiteral("tools") + rendering.separator;
    FUZZ_CHECK(prefix.program == tools + QStringLiteral("avrdude") + rendering.exeSuffix);
    FUZZ_CHECK(prefix.arguments.size() == 8);
    FUZZ_CHECK(prefix.arguments.at(3) == tools + QStringLiteral("avrdude.conf"));
    FUZZ_CHECK(prefix.text.startsWith(prefix.program + QStringLiteral(" -p m16 -C ") + prefix.arguments.at(3)));
    const ToolCommand whole = prefix + transfer + verify;
    FUZZ_CHECK(whole.arguments.size() == 12);
    FUZZ_CHECK(whole.text == prefix.text + transfer.text + verify.text);
    return 0;
}
