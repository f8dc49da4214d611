#include "port_overrides.h"

#include <QSettings>

namespace platform {

PortOverrides readPortOverrides(QSettings &settings)
{
    PortOverrides overrides;
    for (const QString &listText : settings.childKeys()) {
        // A value with commas comes back as a list; it is still one device name.
        const QVariant value = settings.value(listText);
        const QString device = value.typeId() == QMetaType::QStringList
                                   ? value.toStringList().join(QLatin1Char(','))
                                   : value.toString();
        if (!device.isEmpty())
            overrides.insert(listText, device);
    }
    return overrides;
}

PortOverrides userPortOverrides()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Fusewright"),
                       QStringLiteral("ports"));
    return readPortOverrides(settings);
}

} // namespace platform
