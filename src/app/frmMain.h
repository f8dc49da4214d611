#pragma once
// The main window: every control, the twelve form-level texts (the
// selections, which the operations freeze, the image files, and the command
// fragments and command line the last operations composed), and one handler
// per user action.

#include "app_environment.h"
#include "dialogs.h"
#include "fuses/chip_profile.h"
#include "fuses/exchange_files.h"
#include "fuses/fuse_bits.h"
#include "image_file_dialog.h"
#include "runner/command_runner.h"
#include "runner/operation_context.h"
#include "runner/operation_problem.h"
#include "runner/running_operation.h"
#include "runner/selection_check.h"
#include "runner/tool_command.h"
#include "runner/tool_dialect.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
struct MemoryPanel;
namespace Ui {
class frmMain;
}

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(const AppEnvironment &environment, QWidget *parent = nullptr);
    ~frmMain() override;

    // The form-level state. strCommand is the last command line an
    // operation ran (RunAndCapture keeps it).
    QString strSignature;
    QString strPart;
    QString strProgrammer;
    QString strPort;
    QString strFlashFile;
    CommandFragment strFlashOp;
    CommandFragment strFlashVerify;
    QString strEepromFile;
    CommandFragment strEepromOp;
    CommandFragment strEepromVerify;
    CommandFragment strCalOp;
    ToolCommand strCommand;

    QCheckBox *chkFuse(int index) const { return m_chkFuse.at(static_cast<size_t>(index)); }

    // True when Form_Load found another instance running; the window is then
    // closed and must not be shown.
    bool startRefused() const { return m_startRefused; }

public slots:
    void Form_Load();
    void cmbPgr_Click();
    void cmbPort_Click();
    void cmbDevice_Click();
    void cmdRst_Click();
    void labURL_Click();
    // Clock presets, fuse and lock bytes, calibration bytes (frmMain_fuses.cpp).
    void cmbOsc_Click();
    void cmdFuseRD_Click();
    void cmdFuseWR_Click();
    void cmdCalRD_Click();
    // Flash and EEPROM panels (frmMain_memory.cpp).
    void cmdFlash_Click();
    void txtFlash_Change();
    void cmdFrun_Click();
    void cmdEEPROM_Click();
    void cmdErun_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Owns the operation in progress (operation_scope.h).
    class OperationScope;

    void createFuseBoxes();
    void applyColoursAndFonts();
    void applySystemColours();
    void connectHandlers();
    void connectAboutLink();
    void nameControlsAndOrderTabs();
    void centreOnScreen();

    // Runs one command line of an operation as a hidden child, keeps it in
    // strCommand, and returns what it printed, shown in the pane while it
    // arrives when asked. A tool that cannot be started is reported here.
    CapturedRun RunAndCapture(const ToolCommand &command, RunShown shown);
    // What the tool in the tools folder speaks, asked once per program run
    // the first time an operation needs it. A version that cannot be read is
    // kept only until the operation ends, so the next operation asks again.
    ToolDialect toolDialect();
    // The selections as they are now, and the tool's dialect where the
    // operation needs it, frozen into the operation in progress. Called once
    // when an operation starts, before any tool runs: asking the dialect runs
    // one, and the user may change the selections meanwhile.
    const OperationContext &operationContext(bool needsDialect = true);
    // The exchange files of the moment (the folder is chosen anew each time).
    ExchangePaths exchangeFiles() const;
    // Shows the first missing selection, if any; true when one was missing.
    bool reportMissingSelection(SelectionWording wording);
    void showProblem(const OperationProblem &problem, const ChipProfile *chip);
    MessageAnswer showMessage(const QString &text, const QString &title, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok);
    void setOperationButtonsEnabled(bool enabled);
    // After a failed operation's messages: the hints for what its last run
    // printed, added below the pane's text.
    void appendFailureHints(const RunningOperation &operation);

    // Helpers of the fuse and calibration handlers (frmMain_fuses.cpp).
    PanelTicks panelTicks() const;
    void setPanelTicks(const PanelTicks &ticks);
    void showCalibrationTexts(const std::array<QString, 4> &texts);

    // The Flash and EEPROM panels: one handler for both gathers the panel and
    // hands it to transferImage.
    MemoryPanel flashPanel();
    MemoryPanel eepromPanel();
    bool chooseImageFile(const MemoryPanel &panel, TransferDirection direction);
    void runImageTransfer(const MemoryPanel &panel);

    std::unique_ptr<Ui::frmMain> ui;
    AppEnvironment m_env;
    std::array<QCheckBox *, 32> m_chkFuse{};
    CommandRunner m_runner;
    ImageFileDialog cdlFile;
    std::optional<ToolDialect> m_dialect;
    bool m_startRefused = false;
    bool m_centredWithFrame = false;
    // The operation in progress, owned by its scope; nullptr when none runs.
    RunningOperation *m_operation = nullptr;
};
