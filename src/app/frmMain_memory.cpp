// The Flash and EEPROM panels: choose an image file, then program the chip
// from it or read the chip into it, each followed by a verification.

#include "frmMain.h"

#include "memory_panel.h"
#include "operation_scope.h"
#include "progress_pane.h"
#include "runner/output_pane.h"
#include "ui_frmMain.h"
#include "user_messages.h"

MemoryPanel frmMain::flashPanel()
{
    return {flashMemory(), missingFlashFileText(), ui->txtFlash, ui->optFwr, ui->chkFvf, strFlashFile, strFlashOp,
            strFlashVerify};
}

MemoryPanel frmMain::eepromPanel()
{
    return {eepromMemory(), missingEepromFileText(), ui->txtEEPROM, ui->optEEwr, ui->chkEEvf, strEepromFile,
            strEepromOp, strEepromVerify};
}

void frmMain::cmdFlash_Click() { chooseImageFile(flashPanel()); }

void frmMain::txtFlash_Change() { strFlashFile = ui->txtFlash->text(); }

void frmMain::cmdFrun_Click() { runImageTransfer(flashPanel()); }

void frmMain::cmdEEPROM_Click() { chooseImageFile(eepromPanel()); }

void frmMain::cmdErun_Click() { runImageTransfer(eepromPanel()); }

bool frmMain::chooseImageFile(const MemoryPanel &panel)
{
    // No file dialog opens for an operation unwinding after the window closed.
    if (m_closing)
        return false;
    const QString chosen = cdlFile.choose(*m_env.dialogs, this, panel.direction(), m_env.programFolder);
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
    // The run works on the file, direction and verification the panel showed
    // when the button was pressed.
    QString file = panel.file;
    const TransferDirection direction = panel.direction();
    const bool verify = panel.chkVerify->isChecked();
    const OperationContext context = operationContext();
    // The chip is checked before the file is looked at.
    if (!probeSignature(context))
        return;
    if (file.isEmpty()) {
        showMessage(panel.missingFileText, errorTitle(), MessageIcon::Critical);
        if (!chooseImageFile(panel))
            return;
        file = panel.file;
    }
    if (direction == TransferDirection::Read
        && showMessage(overwriteQuestion(file), overwriteQuestionTitle(), MessageIcon::Question,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    panel.op = transferFragment(panel.kind, direction, file);
    panel.verify = verify ? verifyFragment(panel.kind, direction, file) : CommandFragment();
    strCommand = context.prefix + panel.op + panel.verify;
    showAndRun(*ui->txtOutput, strCommand, [this](const ToolCommand &c) { return runShowingProgress(c); });
}

QString frmMain::runShowingProgress(const ToolCommand &command)
{
    ProgressPane progress(*ui->txtOutput);
    m_runner.setOutputListener([&progress](const char *data, qsizetype size) { progress.take(data, size); });
    const QString captured = RunAndCapture(command);
    m_runner.setOutputListener(nullptr);
    return captured;
}
