// The fuse frame and the calibration panel: clock presets, the fuse and lock
// read and write, the calibration read. The bytes travel through exchange
// files (in the tools folder, or the user's private folder where the tools
// folder is not the user's own); a leftover file is removed before any run,
// so it can never be shown or written as the chip's value.

#include "frmMain.h"

#include "fuses/byte_display.h"
#include "fuses/clock_presets.h"
#include "fuses/exchange_files.h"
#include "fuses/fuse_commands.h"
#include "fuses/fuse_read_report.h"
#include "operation_scope.h"
#include "runner/output_pane.h"
#include "runner/signature_check.h"
#include "ui_frmMain.h"

#include <QCheckBox>

using fusepanel::FuseByte;

namespace {
const QString atmega8 = QStringLiteral("m8");
const QString atmega16 = QStringLiteral("m16");
} // namespace

void frmMain::cmbOsc_Click()
{
    if (strPart.isEmpty()) {
        showMessage(QStringLiteral("请选择器件型号"), QStringLiteral("错误"), MessageIcon::Critical);
        return;
    }
    if (strPart != atmega8)
        return;
    PanelTicks ticks = panelTicks();
    if (applyClockPreset(ui->cmbOsc->currentText(), ticks))
        setPanelTicks(ticks);
}

void frmMain::cmdFuseRD_Click()
{
    OperationScope operation(*this);
    if (!operation || !selectionsComplete(SelectionWording::Notice))
        return;
    const QString exchange = readExchangePath(m_env.rendering, m_env.programFolder);
    if (!exchangeFilesRemoved({exchange}) || !probeSignature())
        return;
    if (strPart != atmega8 && strPart != atmega16)
        return;

    FuseBytes bytes;
    QString collected;
    for (const FuseByte byte : fuseReadOrder()) {
        if (!exchangeFilesRemoved({exchange}))
            return;
        strCommand = fuseReadCommand(commandPrefix(), byte, exchange);
        if (byte == FuseByte::HighFuse)
            ui->txtOutput->setPaneText(strCommand.text);
        const CapturedRun run = runCapturing(strCommand);
        collected += run.text;
        if (m_closing) {
            exchangeFilesRemoved({exchange});
            return;
        }
        // A stopped read leaves the high-fuse file in place; the next run removes it.
        if (byte == FuseByte::HighFuse && !highFuseRunShowsTheChip(run))
            return;
        const QByteArray read = readLeadingBytes(exchange, 1);
        if (read.isEmpty()) {
            reportNoAnswer(collected, exchange);
            return;
        }
        bytes.of(byte) = static_cast<quint8>(read.at(0));
    }
    if (bytes.allZero()) {
        reportNoAnswer(collected, exchange);
        return;
    }
    ui->txtOutput->setPaneText(paneAfterByteRuns(strPart, ui->txtOutput->paneText(), collected));
    PanelTicks ticks = panelTicks();
    spreadOverPanel(bytes, ticks);
    setPanelTicks(ticks);
    exchangeFilesRemoved({exchange});
}

void frmMain::cmdFuseWR_Click()
{
    OperationScope operation(*this);
    if (!operation || !selectionsComplete(SelectionWording::Notice) || !probeSignature())
        return;
    if (showMessage(QStringLiteral("确定进行熔丝位的写入？"), QStringLiteral("提示"), MessageIcon::Question,
                    MessageButtons::OkCancel) != MessageAnswer::Ok) {
        showMessage(QStringLiteral("熔丝位烧写已取消"), QStringLiteral("提示"), MessageIcon::Warning);
        return;
    }
    if (strPart == atmega16) {
        showMessage(QStringLiteral("目前还不支持"), applicationTitle(), MessageIcon::Critical);
        return;
    }
    if (strPart != atmega8)
        return;

    const WriteExchangePaths files = writeExchangePaths(m_env.rendering, m_env.programFolder);
    const QString problem = writeFuseExchangeFiles(files, composeFromPanel(panelTicks()));
    if (!problem.isEmpty()) {
        showMessage(problem, QStringLiteral("错误"), MessageIcon::Critical);
        return;
    }
    strCommand = fuseWriteCommand(commandPrefix(), files, toolDialect());
    showAndRun(*ui->txtOutput, strCommand, [this](const ToolCommand &c) { return RunAndCapture(c); });
    exchangeFilesRemoved({files.lock, files.lfuse, files.hfuse});
}

void frmMain::cmdCalRD_Click()
{
    OperationScope operation(*this);
    if (!operation || !selectionsComplete(SelectionWording::Notice))
        return;
    const QString exchange = readExchangePath(m_env.rendering, m_env.programFolder);
    if (!exchangeFilesRemoved({exchange}))
        return;
    if (!probeSignature()) {
        showCalibrationBytes(QByteArray());
        return;
    }
    strCalOp = calibrationFragment(exchange);
    strCommand = calibrationCommand(commandPrefix(), strCalOp);
    // The tool's text follows the command line directly, without a line break.
    ui->txtOutput->setPaneText(strCommand.text);
    const QString captured = RunAndCapture(strCommand);
    ui->txtOutput->setPaneText(ui->txtOutput->paneText() + captured);
    if (!m_closing)
        showCalibrationBytes(readLeadingBytes(exchange, 4));
    exchangeFilesRemoved({exchange});
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

bool frmMain::exchangeFilesRemoved(const QStringList &paths)
{
    const QString problem = removeExchangeFiles(paths);
    if (problem.isEmpty())
        return true;
    showMessage(problem, QStringLiteral("错误"), MessageIcon::Critical);
    return false;
}

bool frmMain::highFuseRunShowsTheChip(const CapturedRun &run)
{
    const SignatureVerdict verdict =
        checkForcedRunSignature(run.text, run.exitedWithZero, strSignature, toolDialect());
    if (verdict.matches)
        return true;
    // The high-fuse line stays in the pane and the tool's reason follows it.
    showOutput(*ui->txtOutput, strCommand, run.text);
    const ReadReport report = secondSignatureReport(strPart, verdict.candidate);
    showMessage(report.text, report.title, MessageIcon::Critical);
    return false;
}

void frmMain::reportNoAnswer(const QString &collected, const QString &exchangePath)
{
    ui->txtOutput->setPaneText(paneAfterByteRuns(strPart, ui->txtOutput->paneText(), collected));
    showMessage(QStringLiteral("器件无响应"), QStringLiteral("错误"), MessageIcon::Critical);
    exchangeFilesRemoved({exchangePath});
    setPanelTicks(PanelTicks{});
}

void frmMain::showCalibrationBytes(const QByteArray &bytes)
{
    const std::array<QString, 4> texts = calibrationTexts(bytes);
    ui->txtCal1->setText(texts[0]);
    ui->txtCal2->setText(texts[1]);
    ui->txtCal4->setText(texts[2]);
    ui->txtCal8->setText(texts[3]);
}
