#include "tool_dialect.h"

#include "command_grammar.h"

#include <QRegularExpression>

CommandFragment ToolDialect::probeSuffix() const
{
    if (major >= 8)
        return grammar::verboseFlag();
    return CommandFragment();
}

ToolCommand dialectQueryCommand(const platform::PathRendering &rendering, const QString &programFolder)
{
    const QString tool = platform::avrdudePath(rendering, programFolder);
    ToolCommand c;
    c.program = tool;
    c.arguments = QStringList{QStringLiteral("-?")};
    c.text = tool + QStringLiteral(" -?");
    return c;
}

std::optional<ToolDialect> dialectFromUsage(const QString &usageText)
{
    // "avrdude version 7.1, URL: <…>", "avrdude version 6.3-20171130, …",
    // "avrdude version 8.1, https://…"
    static const QRegularExpression version(QStringLiteral("\\bversion (\\d{1,3})\\.(\\d{1,3})"));
    QRegularExpressionMatch last;
    for (auto it = version.globalMatch(usageText); it.hasNext();)
        last = it.next();
    if (!last.hasMatch())
        return std::nullopt;
    return ToolDialect{last.captured(1).toInt(), last.captured(2).toInt()};
}
