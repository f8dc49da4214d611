#include "frmMain.h"

#include "busy_cursor.h"
#include "operation_scope.h"
#include "runner/output_pane.h"
#include "runner/signature_check.h"
#include "runner/unresponsive_programmer.h"
#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QTimer>

namespace {
constexpr int dialectQueryPatienceMs = 3000;
} // namespace

frmMain::frmMain(const AppEnvironment &environment, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::frmMain>()), m_env(environment)
{
    ui->setupUi(this);
    setFixedSize(size());
    createFuseBoxes();
    applyColoursAndFonts();
    connectHandlers();
    connectAboutLink();
    nameControlsAndOrderTabs();
    m_runner.setGiveUpRule(UnresponsiveProgrammerWatch());
}

frmMain::~frmMain() = default;

Selections frmMain::selections() const
{
    return Selections{strPart, strProgrammer, strPort};
}

ToolCommand frmMain::commandPrefix() const
{
    return grammar::commandPrefix(m_env.rendering, m_env.programFolder, selections());
}

MessageAnswer frmMain::showMessage(const QString &text, const QString &title, MessageIcon icon,
                                   MessageButtons buttons)
{
    // Once the window is closing, an interrupted operation ends quietly.
    if (m_closing)
        return dismissedAnswer(buttons);
    // Before the window is shown (the refused second start) the box centres on the screen.
    return m_env.dialogs->message(isVisible() ? this : nullptr, text, title, icon, buttons);
}

bool frmMain::selectionsComplete(SelectionWording wording)
{
    const auto problem = checkSelections(selections(), wording);
    if (!problem)
        return true;
    showMessage(problem->text, problem->title, MessageIcon::Critical);
    return false;
}

QString frmMain::RunAndCapture(const ToolCommand &command)
{
    return runCapturing(command).text;
}

frmMain::CapturedRun frmMain::runCapturing(const ToolCommand &command)
{
    if (m_closing)
        return {};
    const RunOutcome outcome = [&] {
        const BusyCursor busy(*this);
        return m_runner.run(command);
    }();
    switch (outcome.failure) {
    case RunOutcome::Failure::Pipe:
        showMessage(QStringLiteral("CreatePipe failed. Error: ") + QString::number(outcome.errorNumber),
                    applicationTitle(), MessageIcon::None);
        return {};
    case RunOutcome::Failure::Start:
        showMessage(QStringLiteral("无法建立新进程，错误码：") + QString::number(outcome.errorNumber),
                    applicationTitle(), MessageIcon::None);
        return {};
    case RunOutcome::Failure::None:
        break;
    }
    return {outcome.text, outcome.exitCode == 0 && !outcome.interrupted};
}

ToolDialect frmMain::toolDialect()
{
    if (m_dialect)
        return *m_dialect;
    if (m_closing)
        return ToolDialect::assumed();
    // Asked quietly: a tool that cannot run is reported by the operation's
    // own run. avrdude answers at once; anything slower is not avrdude.
    QTimer patience;
    patience.setSingleShot(true);
    connect(&patience, &QTimer::timeout, this, [this] { m_runner.interrupt(); });
    patience.start(dialectQueryPatienceMs);
    const RunOutcome outcome = m_runner.run(dialectQueryCommand(m_env.rendering, m_env.programFolder));
    if (outcome.failure == RunOutcome::Failure::None && !outcome.interrupted)
        m_dialect = dialectFromUsage(outcome.text);
    m_dialectRead = m_dialect.has_value();
    // An unreadable answer holds for the rest of this operation only.
    if (!m_dialectRead)
        m_dialect = ToolDialect::assumed();
    return *m_dialect;
}

bool frmMain::probeSignature()
{
    strCommand = signatureProbeCommand(commandPrefix(), toolDialect());
    const QString captured = RunAndCapture(strCommand);
    const SignatureVerdict verdict = checkSignature(captured, strSignature);
    if (verdict.matches && !m_closing)
        return true;
    // A probe that matches stays unshown; one that fails shows why.
    showOutput(*ui->txtOutput, strCommand, captured);
    showMessage(signatureMismatchMessage(verdict.candidate), QStringLiteral("错误"), MessageIcon::Critical);
    return false;
}

void frmMain::setOperationButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {ui->cmdFuseRD, ui->cmdFuseWR, ui->cmdCalRD, ui->cmdFrun, ui->cmdErun, ui->cmdRst})
        button->setEnabled(enabled);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        // The tool is ended and the operation unwinds without further messages.
        m_closing = true;
        m_runner.interrupt();
    }
    event->accept();
}

OperationScope::OperationScope(frmMain &window) : m_window(window)
{
    if (window.m_busy)
        return;
    m_active = true;
    window.m_busy = true;
    window.setOperationButtonsEnabled(false);
}

OperationScope::~OperationScope()
{
    if (!m_active)
        return;
    m_window.m_busy = false;
    m_window.setOperationButtonsEnabled(true);
    if (!m_window.m_dialectRead)
        m_window.m_dialect.reset();
}
