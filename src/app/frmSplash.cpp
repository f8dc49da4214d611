#include "frmSplash.h"

#include "app_environment.h"
#include "click_filter.h"
#include "dialogs.h"
#include "maker_info.h"
#include "platform/build_platform.h"
#include "platform/desktop.h"
#include "platform/font_faces.h"
#include "ui_frmSplash.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QVersionNumber>
#include <qdrawutil.h>

namespace {
QPointer<frmSplash> openAbout;

// A face as the window names it, with its stand-ins on this system.
QFont mappedFont(const QString &windowsFace, qreal points, QFont::Weight weight)
{
    QFont font(windowsFace);
    font.setFamilies(platform::fontFamilies(windowsFace));
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

// The label takes the width of its text; a right-aligned one keeps its right edge.
void sizeToText(QLabel *label)
{
    const QRect before = label->geometry();
    label->adjustSize();
    if (label->alignment() & Qt::AlignRight)
        label->move(before.right() + 1 - label->width(), before.top());
}

QCursor pointer(const char *image)
{
    const QPixmap pixmap(QString::fromLatin1(image));
    return pixmap.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(pixmap, 0, 0);
}
} // namespace

frmSplash *frmSplash::showAbout(Dialogs &dialogs)
{
    if (!openAbout) {
        openAbout = new frmSplash(dialogs);
        openAbout->Form_Load();
    }
    openAbout->show();
    openAbout->raise();
    openAbout->activateWindow();
    return openAbout;
}

frmSplash::frmSplash(Dialogs &dialogs)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), ui(std::make_unique<Ui::frmSplash>()), m_dialogs(dialogs)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose); // closing unloads it
    setFixedSize(size());
    setFocusPolicy(Qt::StrongFocus);

    ui->lblCompanyProduct->setText(makerWebAddress());
    ui->lblCompany->setText(makerName());
    ui->lblPlatform->setText(QStringLiteral("for ") + platform::buildPlatformName());
    applyFontsColoursAndPointers();

    // Keyboard preview: the window sees every key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    // Labels keep their clicks: only a click on the frame itself closes.
    for (QLabel *label : findChildren<QLabel *>())
        label->setAttribute(Qt::WA_NoMousePropagation);

    onClick(ui->Frame1, [this] { Frame1_Click(); });
    onClick(ui->imgLogo, [this] { imgLogo_Click(); });
    onClick(ui->lblCompanyProduct, [this] { lblCompanyProduct_Click(); });
    onClick(ui->lblWarning, [this] { lblWarning_Click(); });
}

frmSplash::~frmSplash() = default;

void frmSplash::applyFontsColoursAndPointers()
{
    const QString song = QStringLiteral("宋体");
    ui->lblCompanyProduct->setFont(mappedFont(song, 18, QFont::Bold));
    ui->lblProductName->setFont(mappedFont(QStringLiteral("Microsoft Sans Serif"), 18, QFont::Bold));
    for (QLabel *label : {ui->lblPlatform, ui->lblVersion})
        label->setFont(mappedFont(song, 12, QFont::Bold));
    ui->lblCompany->setFont(mappedFont(QStringLiteral("华文中宋"), 14.25, QFont::Normal));
    ui->lblWarning->setFont(mappedFont(QStringLiteral("楷体_GB2312"), 9, QFont::Normal));

    QPalette web = ui->lblCompanyProduct->palette();
    web.setColor(QPalette::WindowText, QColor(0, 0, 255));
    ui->lblCompanyProduct->setPalette(web);
    QPalette product = ui->lblProductName->palette();
    product.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    ui->lblProductName->setPalette(product);

    ui->lblCompanyProduct->setCursor(pointer(":/images/web_cursor.xpm"));
    ui->lblWarning->setCursor(pointer(":/images/mail_cursor.xpm"));
}

void frmSplash::Form_Load()
{
    const QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    ui->lblVersion->setText(QStringLiteral("版本 %1.%2.%3")
                                .arg(version.majorVersion())
                                .arg(version.minorVersion())
                                .arg(version.microVersion()));
    ui->lblProductName->setText(applicationTitle());
    for (QLabel *label : {ui->lblCompanyProduct, ui->lblProductName, ui->lblPlatform, ui->lblVersion})
        sizeToText(label);
}

bool frmSplash::Form_KeyPress(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<const QKeyEvent *>(event)->text().isEmpty())
        return false;
    close();
    return true;
}

void frmSplash::Frame1_Click()
{
    close();
}

void frmSplash::imgLogo_Click()
{
    m_dialogs.message(this, QStringLiteral("添加Quorvex的图片"), applicationTitle(), MessageIcon::None,
                      MessageButtons::Ok);
}

void frmSplash::lblCompanyProduct_Click()
{
    platform::openWithDesktop(makerWebPage());
}

void frmSplash::lblWarning_Click()
{
    platform::openWithDesktop(QStringLiteral("mailto:") + authorMailAddress());
}

bool frmSplash::event(QEvent *event)
{
    if (Form_KeyPress(event))
        return true;
    return QWidget::event(event);
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (Form_KeyPress(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void frmSplash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    centreOnScreen();
}

void frmSplash::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void frmSplash::paintEvent(QPaintEvent *)
{
    // The fixed dialog border, drawn in the margin around the frame.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}
