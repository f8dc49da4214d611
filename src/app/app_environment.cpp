#include "app_environment.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString applicationTitle()
{
    return QStringLiteral("Fusewright");
}

void configureApplication(QApplication &app)
{
    // The images live in this static library; without the call the linker
    // drops them from the program.
    Q_INIT_RESOURCE(resources);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(FUSEWRIGHT_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/fusewright.xpm")));

    // A Song face with half-width Latin letters (6 pixels at 9 points), so the
    // six-letter fuse names fit their 57-pixel boxes beside the check mark.
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setFamilies(
        {QStringLiteral("AR PL UMing CN"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(9);
    QApplication::setFont(font);

    // Qt's own buttons and dialogs speak Simplified Chinese, whatever the locale.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}
