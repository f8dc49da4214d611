#include "port_overrides.h"

#include <QFile>
#include <QSettings>

namespace platform {

namespace {
// A value in double quotes, with \" and \\ inside; nothing without the closing quote.
QString quotedValue(const QString &value)
{
    QString text;
    for (qsizetype i = 1; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('"'))
            return text;
        if (c == QLatin1Char('\\') && i + 1 < value.size()
            && (value.at(i + 1) == QLatin1Char('"') || value.at(i + 1) == QLatin1Char('\\')))
            text += value.at(++i);
        else
            text += c;
    }
    return QString();
}
} // namespace

PortOverrides readPortOverrides(const QByteArray &iniText)
{
    PortOverrides overrides;
    bool topLevel = true;
    QString text = QString::fromUtf8(iniText);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QStringView section = line.mid(1, line.size() - 2).trimmed();
            topLevel = section.isEmpty() || section.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!topLevel || equals <= 0)
            continue;
        const QString listText = line.left(equals).trimmed().toString();
        const QString value = line.mid(equals + 1).trimmed().toString();
        const QString device = value.startsWith(QLatin1Char('"'))
                                   ? quotedValue(value)
                                   : value.left(value.indexOf(QLatin1Char(';'))).trimmed();
        if (!listText.isEmpty() && !device.isEmpty())
            overrides.insert(listText, device);
    }
    return overrides;
}

PortOverrides userPortOverrides()
{
    // Only for the file's place; its values are read as plain text.
    const QSettings location(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Fusewright"),
                             QStringLiteral("ports"));
    QFile file(location.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return PortOverrides();
    return readPortOverrides(file.readAll());
}

} // namespace platform
