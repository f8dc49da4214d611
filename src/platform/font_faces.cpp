#include "font_faces.h"

#include <QHash>

namespace platform {

QStringList fontFamilies(const QString &windowsFace)
{
#ifdef Q_OS_WIN
    // Windows knows the Chinese faces by their English names as well; an
    // English system may list only those.
    static const QHash<QString, QStringList> englishNames = {
        {QStringLiteral("宋体"), {QStringLiteral("SimSun"), QStringLiteral("NSimSun")}},
        {QStringLiteral("华文中宋"), {QStringLiteral("STZhongsong"), QStringLiteral("SimSun")}},
        {QStringLiteral("楷体_GB2312"), {QStringLiteral("KaiTi_GB2312"), QStringLiteral("KaiTi")}},
    };
    return QStringList{windowsFace} + englishNames.value(windowsFace);
#else
    static const QHash<QString, QStringList> standIns = {
        {QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"), QStringLiteral("serif")}},
        {QStringLiteral("华文中宋"), {QStringLiteral("AR PL UMing CN"), QStringLiteral("serif")}},
        {QStringLiteral("楷体_GB2312"),
         {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN"), QStringLiteral("serif")}},
        {QStringLiteral("Microsoft Sans Serif"), {QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")}},
    };
    return QStringList{windowsFace} + standIns.value(windowsFace);
#endif
}

} // namespace platform
