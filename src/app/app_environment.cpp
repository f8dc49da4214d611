#include "app_environment.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString applicationTitle() { return QStringLiteral("Fusewright"); }

void configureApplication(QApplication &app)
{
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/fusewright.xpm")));

    // A CJK-capable face small enough for the captions to fit their boxes.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
    font.setPointSize(9);
    QApplication::setFont(font);

    // Qt's own buttons and dialogs speak Simplified Chinese, whatever the locale.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}
