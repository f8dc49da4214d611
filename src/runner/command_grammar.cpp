#include "command_grammar.h"

namespace grammar {

namespace {
CommandFragment flag(QStringList words)
{
    return {QLatin1Char(' ') + words.join(QLatin1Char(' ')), words};
}
} // namespace

ToolCommand commandPrefix(const platform::PathRendering &rendering, const QString &programFolder,
                          const Selections &selections)
{
    const QString tool = platform::avrdudePath(rendering, programFolder);
    const QString config = platform::toolsPath(rendering, programFolder, QStringLiteral("avrdude.conf"));
    const QString port = platform::nativePortName(rendering, selections.port);

    ToolCommand c;
    c.program = tool;
    c.text = tool;
    c += flag({QStringLiteral("-p"), selections.part});
    c += flag({QStringLiteral("-C"), config});
    c += flag({QStringLiteral("-c"), selections.programmer});
    c += flag({QStringLiteral("-P"), port});
    return c;
}

CommandFragment resetExitFlag()
{
    return flag({QStringLiteral("-E"), QStringLiteral("reset")});
}
CommandFragment forceFlag()
{
    return flag({QStringLiteral("-F")});
}
CommandFragment unsafeFlag()
{
    return flag({QStringLiteral("-u")});
}
CommandFragment verboseFlag()
{
    return flag({QStringLiteral("-v")});
}

CommandFragment memoryFragment(const QString &memory, QChar operation, const QString &path, QChar format,
                               bool trailingBlank)
{
    const QString head = memory + QLatin1Char(':') + operation + QLatin1Char(':');
    const QString tail = QLatin1Char(':') + QString(format);
    CommandFragment f;
    f.text = QStringLiteral(" -U ") + head + QLatin1Char('"') + path + QLatin1Char('"') + tail;
    if (trailingBlank)
        f.text += QLatin1Char(' ');
    f.arguments = QStringList{QStringLiteral("-U"), head + path + tail};
    return f;
}

} // namespace grammar
