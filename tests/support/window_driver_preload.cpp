// Preloaded (LD_PRELOAD) into the real program by tests that need it to start
// an operation by itself: once the main window shows, it makes the choices
// named in FW_DRIVE ("ATmega8,avr910,com1,cmdFuseRD") as a user would and
// presses the button.

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace {

void choose(QWidget *window, const char *comboName, const QString &text)
{
    auto *combo = window->findChild<QComboBox *>(QLatin1String(comboName));
    const int index = combo ? combo->findText(text, Qt::MatchExactly) : -1;
    if (index < 0)
        qFatal("window driver: no list item %s in %s", qPrintable(text), comboName);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void driveTheWindow()
{
    const QStringList steps = QString::fromLocal8Bit(qgetenv("FW_DRIVE")).split(QLatin1Char(','));
    if (steps.size() != 4)
        return;
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QLatin1String("frmMain") || !window->isVisible())
                continue;
            poll->stop();
            choose(window, "cmbDevice", steps[0]);
            choose(window, "cmbPgr", steps[1]);
            choose(window, "cmbPort", steps[2]);
            if (auto *button = window->findChild<QPushButton *>(steps[3]))
                button->click();
            return;
        }
    });
    poll->start(50);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(driveTheWindow)
