// Building the parts of the window that the form file does not hold: the
// 32 fuse boxes from their grid formula, colours, fonts and cursors.

#include "frmMain.h"

#include "choice_combo.h"
#include "fuse_box_geometry.h"
#include "fuses/fuse_panel_map.h"
#include "readable_colours.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace {
// Twips to pixels at 96 dots per inch; Qt scales for other densities.
int px(int twips)
{
    return qRound(twips / 15.0);
}
QRect pxRect(const QRect &twips)
{
    return QRect(px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height()));
}
} // namespace

void frmMain::createFuseBoxes()
{
    const QPoint frameCorner = ui->fraFuse->geometry().topLeft();
    for (int i = 0; i < fusepanel::boxCount; ++i) {
        QWidget *parent =
            fusepanel::boxInFuseFrame(i) ? static_cast<QWidget *>(ui->fraFuse) : static_cast<QWidget *>(this);
        auto *box = new QCheckBox(QString::number(i), parent);
        box->setObjectName(QStringLiteral("chkFuse"));
        box->setProperty("index", i);
        QRect r = pxRect(fusepanel::boxGeometryTwips(i));
        if (parent != this)
            r.translate(-frameCorner);
        box->setGeometry(r);
        box->raise(); // drawn over the fuse frame
        m_chkFuse[static_cast<size_t>(i)] = box;
    }
}

void frmMain::applyColoursAndFonts()
{
    // Frames draw their border through the middle of the caption, so the
    // controls placed 16 pixels below a frame's top stay clear of it.
    setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                                 " left: 6px; padding: 0px 1px; }"));

    applySystemColours();

    // The link label: its own face, the title-bar blue, a hand of its own.
    QFont linkFont(QStringLiteral("Gungsuh"));
    linkFont.setFamilies({QStringLiteral("Gungsuh"), QApplication::font().family()});
    linkFont.setPointSize(12);
    linkFont.setWeight(QFont::Normal);
    ui->labURL->setFont(linkFont);
    QPalette link = ui->labURL->palette();
    link.setColor(QPalette::WindowText, palette().color(QPalette::Link));
    ui->labURL->setPalette(link);
    const QPixmap hand(QStringLiteral(":/images/link_cursor.xpm"));
    ui->labURL->setCursor(hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, 6, 0));

    for (QComboBox *combo : {ui->cmbDevice, ui->cmbPgr, ui->cmbPort, ui->cmbOsc})
        makeChoiceCombo(combo);
}

void frmMain::applySystemColours()
{
    // Output pane: window-frame colour behind caption-text colour (white on
    // black), unless the desktop's palette makes that pair unreadable.
    const ColourPair paneColours =
        legiblePair({palette().color(QPalette::WindowText), palette().color(QPalette::HighlightedText)});
    // Only the roles set here are the controls' own; the others keep
    // following the window's palette.
    QPalette pane;
    pane.setColor(QPalette::Base, paneColours.background);
    pane.setColor(QPalette::Text, paneColours.text);
    ui->txtOutput->setPalette(pane);

    // Image paths in the highlight colour, darkened or lightened where needed.
    // (The boxes take their background from the window; while the palette
    // changes, theirs is not updated yet.)
    QPalette path;
    path.setColor(QPalette::Text, legibleText(palette().color(QPalette::Highlight), palette().color(QPalette::Base)));
    ui->txtFlash->setPalette(path);
    ui->txtEEPROM->setPalette(path);
}

void frmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The desktop's colours changed while the program runs.
    if (event->type() == QEvent::PaletteChange)
        applySystemColours();
}

void frmMain::connectHandlers()
{
    connect(ui->cmbDevice, &QComboBox::activated, this, &frmMain::cmbDevice_Click);
    connect(ui->cmbPgr, &QComboBox::activated, this, &frmMain::cmbPgr_Click);
    connect(ui->cmbPort, &QComboBox::activated, this, &frmMain::cmbPort_Click);
    connect(ui->cmdRst, &QPushButton::clicked, this, &frmMain::cmdRst_Click);
    connect(ui->cmbOsc, &QComboBox::activated, this, &frmMain::cmbOsc_Click);
    connect(ui->cmdFuseRD, &QPushButton::clicked, this, &frmMain::cmdFuseRD_Click);
    connect(ui->cmdFuseWR, &QPushButton::clicked, this, &frmMain::cmdFuseWR_Click);
    connect(ui->cmdCalRD, &QPushButton::clicked, this, &frmMain::cmdCalRD_Click);
    connect(ui->cmdFlash, &QPushButton::clicked, this, &frmMain::cmdFlash_Click);
    connect(ui->txtFlash, &QLineEdit::textChanged, this, &frmMain::txtFlash_Change);
    connect(ui->cmdFrun, &QPushButton::clicked, this, &frmMain::cmdFrun_Click);
    connect(ui->cmdEEPROM, &QPushButton::clicked, this, &frmMain::cmdEEPROM_Click);
    connect(ui->cmdErun, &QPushButton::clicked, this, &frmMain::cmdErun_Click);
}

void frmMain::centreOnScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QRect outer = frameGeometry();
    const double left = area.left() + (area.width() - outer.width()) / 2.0;
    const double top = area.top() + (area.height() - outer.height()) / 2.0;
    move(qRound(left), qRound(top));
}

void frmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The outer frame is known only once the window manager has framed the window.
    if (!m_centredWithFrame) {
        m_centredWithFrame = true;
        QTimer::singleShot(0, this, &frmMain::centreOnScreen);
    }
}
