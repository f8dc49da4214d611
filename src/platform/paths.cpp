#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

namespace platform {

PathRendering posixRendering()
{
    return {QLatin1Char('/'), QString(), true};
}
PathRendering windowsRendering()
{
    return {QLatin1Char('\\'), QStringLiteral(".exe"), false};
}

PathRendering nativeRendering()
{
#ifdef Q_OS_WIN
    return windowsRendering();
#else
    return posixRendering();
#endif
}

QString programFolder()
{
    QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    return dir;
}

QString toolsFolder(const PathRendering &r, const QString &folder)
{
    return folder + r.separator + QStringLiteral("tools");
}

QString toolsPath(const PathRendering &r, const QString &folder, const QString &name)
{
    return toolsFolder(r, folder) + r.separator + name;
}

QString avrdudePath(const PathRendering &r, const QString &folder)
{
    return toolsPath(r, folder, QStringLiteral("avrdude") + r.exeSuffix);
}

QString nativePortName(const PathRendering &r, const QString &listText)
{
    const auto overridden = r.portOverrides.constFind(listText);
    if (overridden != r.portOverrides.constEnd())
        return *overridden;
    if (!r.nativePortNames)
        return listText;
    static const QRegularExpression numbered(QStringLiteral("^(lpt|com)([1-9][0-9]*)$"));
    const QRegularExpressionMatch m = numbered.match(listText);
    if (!m.hasMatch())
        return listText;
    const int index = m.captured(2).toInt() - 1;
    const QString base =
        m.captured(1) == QLatin1String("lpt") ? QStringLiteral("/dev/parport") : QStringLiteral("/dev/ttyS");
    return base + QString::number(index);
}

} // namespace platform
