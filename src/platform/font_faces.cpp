#include "font_faces.h"

#include <QHash>

namespace platform {

QStringList fontFamilies(const QString &windowsFace)
{
#ifdef Q_OS_WIN
    return {windowsFace};
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
