#include "frmMain.h"

#include "busy_cursor.h"
#include "operation_scope.h"
#include "platform/build_platform.h"
#include "runner/signature_probe.h"
#include "runner/unresponsive_programmer.h"
#include "user_messages.h"
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

OperationContext frmMain::operationContext(bool needsDialect)
{
    OperationContext context;
    context.selections = Selections{strPart, strProgrammer, strPort};
    context.expectedSignature = strSignature;
    context.prefix = grammar::commandPrefix(m_env.rendering, m_env.programFolder, context.selections);
    if (needsDialect)
        context.dialect = toolDialect();
    return context;
}

FuseOperation frmMain::fuseOperation()
{
    const ChipProfile *chip = chipForPart(strPart);
    return FuseOperation{operationContext(), chip, exchangePaths(m_env.rendering, m_env.programFolder)};
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

bool frmMain::reportMissingSelection(SelectionWording wording)
{
    const auto missing = checkSelections(Selections{strPart, strProgrammer, strPort});
    if (!missing)
        return false;
    const UserMessage message = selectionMessage(*missing, wording);
    showMessage(message.text, message.title, message.icon);
    return true;
}

void frmMain::showProblem(const OperationProblem &problem, const ChipProfile *chip)
{
    if (const auto message = problemMessage(problem, chip)) {
        m_operationFailed = true;
        showMessage(message->text, message->title, message->icon);
    }
}

void frmMain::keepLastCommand(const ToolCommand &command)
{
    if (!command.isEmpty())
        strCommand = command;
}

QString frmMain::RunAndCapture(const ToolCommand &command)
{
    return runCapturing(command).text;
}

CaptureFunction frmMain::capture()
{
    return [this](const ToolCommand &command) { return runCapturing(command); };
}

CapturedRun frmMain::runCapturing(const ToolCommand &command)
{
    // No new run starts once the window is closing.
    if (m_closing)
        return CapturedRun{QString(), false, true};
    const RunOutcome outcome = [&] {
        const BusyCursor busy(*this);
        return m_runner.run(command);
    }();
    switch (outcome.failure) {
    case RunOutcome::Failure::Pipe:
        showMessage(pipeFailureText(outcome.errorNumber), applicationTitle(), MessageIcon::None);
        return CapturedRun{QString(), false, m_closing};
    case RunOutcome::Failure::Start:
        showMessage(startFailureText(outcome.errorNumber), applicationTitle(), MessageIcon::None);
        return CapturedRun{QString(), false, m_closing};
    case RunOutcome::Failure::None:
        break;
    }
    const CapturedRun run{outcome.text, outcome.exitCode == 0 && !outcome.interrupted, m_closing};
    m_lastRun.captured = run.text;
    m_lastRun.silentSeconds = (outcome.silentForMs + 999) / 1000;
    m_operationFailed = m_operationFailed || !run.exitedWithZero;
    return run;
}

ToolDialect frmMain::toolDialect()
{
    if (m_dialect)
        return *m_dialect;
    if (m_closing)
        return ToolDialect::assumed();
    // Not asked once the window is closing. Asked quietly: a tool that cannot
    // run is reported by the operation's own run. avrdude answers at once;
    // anything slower is not avrdude.
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
    return probeSignature(operationContext());
}

bool frmMain::probeSignature(const OperationContext &context)
{
    const ProbeOutcome probe = probeChip(context, capture(), *ui->txtOutput);
    strCommand = probe.command;
    showProblem(probe.problem, nullptr);
    return probe.problem.isNone();
}

void frmMain::setOperationButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {ui->cmdFuseRD, ui->cmdFuseWR, ui->cmdCalRD, ui->cmdFrun, ui->cmdErun, ui->cmdRst})
        button->setEnabled(enabled);
}

void frmMain::showFailureHints()
{
    if (!m_operationFailed || m_closing)
        return;
    const QStringList hints = failureHints(m_lastRun);
    ui->txtOutput->setPaneText(paneWithHints(ui->txtOutput->paneText(), hints));
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

OperationScope::OperationScope(frmMain &window, OperationKind kind) : m_window(window)
{
    if (window.m_busy)
        return;
    m_active = true;
    window.m_busy = true;
    window.m_lastRun = FailedRun{QString(), kind, window.strProgrammer, platform::buildPlatformName(), knownChips()};
    window.m_operationFailed = false;
    window.setOperationButtonsEnabled(false);
}

OperationScope::~OperationScope()
{
    if (!m_active)
        return;
    m_window.showFailureHints();
    m_window.m_busy = false;
    m_window.setOperationButtonsEnabled(true);
    if (!m_window.m_dialectRead)
        m_window.m_dialect.reset();
}
