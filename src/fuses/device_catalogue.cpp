#include "device_catalogue.h"

const std::array<DeviceEntry, 2> &deviceCatalogue()
{
    static const std::array<DeviceEntry, 2> entries{{
        {QStringLiteral("ATmega8"), QStringLiteral("m8"), QStringLiteral("0x1e9307"),
         QStringLiteral(" 熔丝位设置 for ATmega8"), QStringLiteral("RSTDIS"), QStringLiteral("WDTON")},
        {QStringLiteral("ATmega16"), QStringLiteral("m16"), QStringLiteral("0x1e9403"),
         QStringLiteral(" 熔丝位设置 for ATmega16"), QStringLiteral("OCDEN"), QStringLiteral("JTAGEN")},
    }};
    return entries;
}

const DeviceEntry *findDevice(const QString &listText)
{
    for (const DeviceEntry &e : deviceCatalogue()) {
        if (e.listText == listText)
            return &e;
    }
    return nullptr;
}

QString defaultFuseCaption() { return QStringLiteral("熔丝位设置"); }
