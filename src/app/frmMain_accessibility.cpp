// What a screen reader announces for controls without a caption of their
// own (the caption of the frame or label beside them), and a Tab order that
// reads the window column by column, top down.

#include "frmMain.h"

#include "ui_frmMain.h"

#include <QCheckBox>
#include <QEvent>

namespace {
// A fuse box is announced by its caption; a blank one by its place in the
// panel. Captions change with the device, and boxes are enabled or disabled
// with them, so the names follow both.
class FuseBoxNames : public QObject {
public:
    FuseBoxNames(const std::array<QCheckBox *, 32> &boxes, QObject *owner) : QObject(owner), m_boxes(boxes)
    {
        for (QCheckBox *box : m_boxes)
            box->installEventFilter(this);
        refresh();
    }
    void refresh()
    {
        for (size_t i = 0; i < m_boxes.size(); ++i) {
            const QString caption = m_boxes[i]->text().trimmed();
            const bool meaningful = !caption.isEmpty() && caption != QString::number(i);
            m_boxes[i]->setAccessibleName(meaningful ? caption : QStringLiteral("熔丝位 ") + QString::number(i));
        }
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            refresh();
        return false;
    }

private:
    std::array<QCheckBox *, 32> m_boxes;
};
} // namespace

void frmMain::nameControlsAndOrderTabs()
{
    // Lists and boxes take the caption of the frame or label beside them.
    ui->cmbDevice->setAccessibleName(ui->fraDevice->title());
    ui->cmbPgr->setAccessibleName(ui->fraPrg->title());
    ui->cmbPort->setAccessibleName(ui->fraPort->title());
    ui->cmbOsc->setAccessibleName(ui->fraOsc->title());
    ui->txtFlash->setAccessibleName(ui->fraFlash->title() + QStringLiteral(" 文件"));
    ui->txtEEPROM->setAccessibleName(ui->fraEEP->title() + QStringLiteral(" 文件"));
    ui->cmdFlash->setAccessibleName(QStringLiteral("选择 ") + ui->txtFlash->accessibleName());
    ui->cmdEEPROM->setAccessibleName(QStringLiteral("选择 ") + ui->txtEEPROM->accessibleName());
    ui->txtCal1->setAccessibleName(ui->Label1->text());
    ui->txtCal2->setAccessibleName(ui->Label2->text());
    ui->txtCal4->setAccessibleName(ui->Label3->text());
    ui->txtCal8->setAccessibleName(ui->Label4->text());
    ui->txtOutput->setAccessibleName(ui->fraOutput->title());
    ui->fraFuseOp->setAccessibleName(QStringLiteral("熔丝位操作"));
    auto *fuseNames = new FuseBoxNames(m_chkFuse, this);
    // Connected after cmbDevice_Click, so it runs once the boxes are relabelled.
    connect(ui->cmbDevice, &QComboBox::activated, fuseNames, &FuseBoxNames::refresh);

    QList<QWidget *> order{ui->labURL,  ui->cmbDevice, ui->cmbPgr,  ui->cmbPort, ui->cmbOsc,    ui->cmdRst,
                           ui->optFwr,  ui->optFrd,    ui->chkFvf,  ui->cmdFrun, ui->txtFlash,  ui->cmdFlash,
                           ui->optEEwr, ui->optEErd,   ui->chkEEvf, ui->cmdErun, ui->txtEEPROM, ui->cmdEEPROM,
                           ui->txtCal1, ui->txtCal4,   ui->txtCal2, ui->txtCal8, ui->cmdCalRD};
    for (QCheckBox *box : m_chkFuse)
        order.append(box);
    order << ui->cmdFuseRD << ui->cmdFuseWR << ui->txtOutput;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}
