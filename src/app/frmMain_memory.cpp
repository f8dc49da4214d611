// The Flash and EEPROM panels: choose an image file, then program the chip
// from it or read the chip into it, each followed by a verification.

#include "frmMain.h"

#include "memory/memory_procedure.h"
#include "memory_panel.h"
#include "operation_scope.h"
#include "ui_frmMain.h"
#include "user_messages.h"

MemoryPanel frmMain::flashPanel()
{
    return {MemoryKind::Flash, missingFlashFileText(), ui->txtFlash, ui->optFwr,
            ui->chkFvf,        strFlashFile,           strFlashOp,   strFlashVerify};
}

MemoryPanel frmMain::eepromPanel()
{
    return {MemoryKind::Eeprom, missingEepromFileText(), ui->txtEEPROM, ui->optEEwr,
            ui->chkEEvf,        strEepromFile,           strEepromOp,   strEepromVerify};
}

void frmMain::cmdFlash_Click()
{
    const MemoryPanel panel = flashPanel();
    chooseImageFile(panel, panel.direction());
}

void frmMain::txtFlash_Change()
{
    strFlashFile = ui->txtFlash->text();
}

void frmMain::cmdFrun_Click()
{
    runImageTransfer(flashPanel());
}

void frmMain::cmdEEPROM_Click()
{
    const MemoryPanel panel = eepromPanel();
    chooseImageFile(panel, panel.direction());
}

void frmMain::cmdErun_Click()
{
    runImageTransfer(eepromPanel());
}

bool frmMain::chooseImageFile(const MemoryPanel &panel, TransferDirection direction)
{
    const QString chosen = cdlFile.choose(*m_env.dialogs, this, direction, m_env.programFolder);
    // A cancelled dialog leaves the panel's file as it was.
    if (chosen.isEmpty())
        return false;
    panel.file = chosen;
    panel.txtFile->setText(chosen);
    return true;
}

void frmMain::runImageTransfer(const MemoryPanel &panel)
{
    OperationScope operation(*this, panel.operation());
    if (!operation || reportMissingSelection(SelectionWording::Error))
        return;
    // The run works on the chip, file, direction and verification the window
    // showed when the button was pressed: all are taken before the version
    // query, which services events, can let the user change any of them.
    MemoryOperation frozen;
    frozen.memory = panel.kind;
    frozen.direction = panel.direction();
    frozen.verify = panel.chkVerify->isChecked();
    frozen.file = panel.file;
    operationContext();
    TransferQuestions ask;
    ask.chooseMissingFile = [&] {
        showMessage(panel.missingFileText, errorTitle(), MessageIcon::Critical);
        // An open dialog to program from, a save dialog to read into, as
        // the run was asked for.
        return chooseImageFile(panel, frozen.direction) ? panel.file : QString();
    };
    ask.overwrite = [this](const QString &file) {
        return showMessage(overwriteQuestion(file), overwriteQuestionTitle(), MessageIcon::Question,
                           MessageButtons::YesNo)
               == MessageAnswer::Yes;
    };
    const TransferResult result = transferImage(frozen, *operation, *ui->txtOutput, ask);
    if (!result.op.isEmpty()) {
        panel.op = result.op;
        panel.verify = result.verify;
    }
    showProblem(result.problem, chipForPart((*operation).context().selections.part));
}
