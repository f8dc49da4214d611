// The handlers: each reads like the steps it carries out.

#include "frmMain.h"

#include "fuses/chip_profile.h"
#include "fuses/clock_presets.h"
#include "fuses/fuse_box_help.h"
#include "fuses/fuse_panel_map.h"
#include "memory/reset_operation.h"
#include "operation_scope.h"
#include "platform/instance_lock.h"
#include "ui_frmMain.h"
#include "user_messages.h"

#include <QCheckBox>

void frmMain::Form_Load()
{
    if (m_env.instanceLock && !m_env.instanceLock->tryAcquire()) {
        showMessage(alreadyRunningText(), alreadyRunningTitle(), MessageIcon::Warning);
        m_startRefused = true;
        close();
        return;
    }

    centreOnScreen();

    for (const ChipProfile &chip : chipProfiles())
        ui->cmbDevice->addItem(chip.listText);
    ui->cmbPgr->addItems({QStringLiteral("avr910"), QStringLiteral("pony-stk200"), QStringLiteral("usbasp")});
    ui->cmbPort->addItems({QStringLiteral("lpt1"), QStringLiteral("lpt2"), QStringLiteral("com1"),
                           QStringLiteral("com2"), QStringLiteral("com3"), QStringLiteral("com4"),
                           QStringLiteral("usb")});
    ui->cmbOsc->addItems(clockPresetTexts());
    // No item is chosen at start: the fields stay empty.
    for (QComboBox *combo : {ui->cmbDevice, ui->cmbPgr, ui->cmbPort, ui->cmbOsc}) {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    }

    for (QCheckBox *box : m_chkFuse) {
        box->setText(QStringLiteral(" "));
        box->setEnabled(false);
    }

    ui->optFwr->setChecked(true);
    ui->chkFvf->setEnabled(false);
    ui->chkFvf->setChecked(true);
    ui->optEEwr->setChecked(true);
    ui->chkEEvf->setEnabled(false);
    ui->chkEEvf->setChecked(true);
    ui->txtOutput->setPaneText(QStringLiteral(" "));
}

void frmMain::cmbPgr_Click()
{
    strProgrammer = ui->cmbPgr->currentText();
}

void frmMain::cmbPort_Click()
{
    strPort = ui->cmbPort->currentText();
}

void frmMain::cmbDevice_Click()
{
    for (QCheckBox *box : m_chkFuse)
        box->setChecked(false);

    const ChipProfile *device = chipForListText(ui->cmbDevice->currentText());
    if (!device)
        return;
    for (int i = fusepanel::firstLabelledBox; i < fusepanel::boxCount; ++i) {
        chkFuse(i)->setText(fusepanel::boxLabel(*device, i));
        chkFuse(i)->setEnabled(fusepanel::boxEnabledAfterChoice(i));
        const QString help = fusepanel::boxHelp(*device, i);
        chkFuse(i)->setToolTip(help);
        chkFuse(i)->setAccessibleDescription(help);
    }
    strPart = device->part;
    strSignature = device->signature;
    ui->fraFuse->setTitle(QStringLiteral(" 熔丝位设置 for ") + device->listText);
}

void frmMain::cmdRst_Click()
{
    OperationScope operation(*this, OperationKind::Reset);
    if (!operation || reportMissingSelection(SelectionWording::Notice))
        return;
    // The reset runs no probe, so it needs no dialect.
    operationContext(false);
    holdInReset(*operation, *ui->txtOutput);
}
