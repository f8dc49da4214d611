// The fuse frame and the calibration panel: clock presets, the fuse and lock
// read and write, the calibration read. Each handler gathers what the user
// sees, hands it to its procedure and shows what comes back.

#include "frmMain.h"

#include "fuses/byte_display.h"
#include "fuses/clock_presets.h"
#include "operation_scope.h"
#include "ui_frmMain.h"
#include "user_messages.h"

#include <QCheckBox>

void frmMain::cmbOsc_Click()
{
    if (strPart.isEmpty()) {
        showMessage(presetNeedsDeviceText(), errorTitle(), MessageIcon::Critical);
        return;
    }
    const ChipProfile *chip = chipForPart(strPart);
    if (!chip || !chip->writeSupported)
        return;
    PanelTicks ticks = panelTicks();
    if (applyClockPreset(ui->cmbOsc->currentText(), ticks))
        setPanelTicks(ticks);
}

void frmMain::cmdFuseRD_Click()
{
    OperationScope operation(*this, OperationKind::FuseRead);
    if (!operation || reportMissingSelection(SelectionWording::Notice))
        return;
    const FuseOperation frozen = fuseOperation();
    const FuseReadResult result = readFuses(frozen, *operation, *ui->txtOutput);
    keepLastCommand(result.lastCommand);
    // A panel relabelled for another chip during the read keeps what that choice set.
    if (result.panelFilled && strPart == frozen.context.selections.part) {
        PanelTicks ticks = panelTicks();
        spreadOverPanel(result.bytes, ticks);
        setPanelTicks(ticks);
    }
    showProblem(result.problem, frozen.chip);
    if (result.panelCleared)
        setPanelTicks(PanelTicks{});
}

void frmMain::cmdFuseWR_Click()
{
    OperationScope operation(*this, OperationKind::FuseWrite);
    if (!operation || reportMissingSelection(SelectionWording::Notice))
        return;
    // The bytes written are those the panel showed when the button was pressed.
    const PanelTicks ticks = panelTicks();
    const FuseOperation frozen = fuseOperation();
    const auto confirmed = [this] {
        return showMessage(fuseWriteQuestion(), noticeTitle(), MessageIcon::Question, MessageButtons::OkCancel)
               == MessageAnswer::Ok;
    };
    const FuseWriteResult result = writeFuses(frozen, ticks, *operation, *ui->txtOutput, confirmed);
    if (result.toolRan)
        (*operation).writtenLock = result.written.lock;
    keepLastCommand(result.lastCommand);
    showProblem(result.problem, frozen.chip);
}

void frmMain::cmdCalRD_Click()
{
    OperationScope operation(*this, OperationKind::CalibrationRead);
    if (!operation || reportMissingSelection(SelectionWording::Notice))
        return;
    const FuseOperation frozen = fuseOperation();
    const CalibrationResult result = readCalibration(frozen, *operation, *ui->txtOutput);
    keepLastCommand(result.lastCommand);
    if (!result.calibrationOp.isEmpty())
        strCalOp = result.calibrationOp;
    showProblem(result.problem, frozen.chip);
    if (result.showBytes)
        showCalibrationBytes(result.bytes);
}

PanelTicks frmMain::panelTicks() const
{
    PanelTicks ticks{};
    for (int i = 0; i < fusepanel::boxCount; ++i)
        ticks[static_cast<size_t>(i)] = chkFuse(i)->isChecked();
    return ticks;
}

void frmMain::setPanelTicks(const PanelTicks &ticks)
{
    for (int i = 0; i < fusepanel::boxCount; ++i)
        chkFuse(i)->setChecked(ticks[static_cast<size_t>(i)]);
}

void frmMain::showCalibrationBytes(const QByteArray &bytes)
{
    const std::array<QString, 4> texts = calibrationTexts(bytes);
    ui->txtCal1->setText(texts[0]);
    ui->txtCal2->setText(texts[1]);
    ui->txtCal4->setText(texts[2]);
    ui->txtCal8->setText(texts[3]);
}
