#include "frmMain.h"

#include "busy_cursor.h"
#include "live_output_feed.h"
#include "operation_scope.h"
#include "output_pane_edit.h"
#include "platform/build_platform.h"
#include "runner/failure_hints.h"
#include "runner/unresponsive_programmer.h"
#include "ui_frmMain.h"
#include "user_messages.h"

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

const OperationContext &frmMain::operationContext(bool needsDialect)
{
    OperationContext context;
    context.selections = Selections{strPart, strProgrammer, strPort};
    context.expectedSignature = strSignature;
    context.prefix = grammar::commandPrefix(m_env.rendering, m_env.programFolder, context.selections);
    if (needsDialect)
        context.dialect = toolDialect();
    m_operation->freeze(context);
    return m_operation->context();
}

ExchangePaths frmMain::exchangeFiles() const
{
    return exchangePaths(m_env.rendering, m_env.programFolder);
}

MessageAnswer frmMain::showMessage(const QString &text, const QString &title, MessageIcon icon, MessageButtons buttons)
{
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
        m_operation->markFailed();
        showMessage(message->text, message->title, message->icon);
    }
}

CapturedRun frmMain::RunAndCapture(const ToolCommand &command, RunShown shown)
{
    strCommand = command;
    std::optional<LiveOutputFeed> progress;
    if (shown == RunShown::WhileRunning) {
        progress.emplace(*ui->txtOutput);
        m_runner.setOutputListener([&progress](const char *data, qsizetype size) { progress->take(data, size); });
    }
    // The runner services the event loop between reads, so the window keeps
    // repainting, shows the progress and takes a close while the tool runs;
    // the operation scope keeps every other operation button disabled.
    const RunOutcome outcome = [&] {
        const BusyCursor busy(*this);
        return m_runner.run(command);
    }();
    m_runner.setOutputListener(nullptr);
    switch (outcome.failure) {
    case RunOutcome::Failure::Pipe:
        showMessage(pipeFailureText(outcome.errorNumber), applicationTitle(), MessageIcon::None);
        return CapturedRun{QString(), false, false, false};
    case RunOutcome::Failure::Start:
        showMessage(startFailureText(outcome.errorNumber), applicationTitle(), MessageIcon::None);
        return CapturedRun{QString(), false, false, false};
    case RunOutcome::Failure::None:
        break;
    }
    CapturedRun run{outcome.text, outcome.exitCode == 0 && !outcome.interrupted};
    run.silentSeconds = (outcome.silentForMs + 999) / 1000;
    return run;
}

ToolDialect frmMain::toolDialect()
{
    if (m_dialect)
        return *m_dialect;
    // Asked quietly: a tool that cannot run is reported by the operation's
    // own run. avrdude answers at once; anything slower is not avrdude.
    QTimer patience;
    patience.setSingleShot(true);
    connect(&patience, &QTimer::timeout, this, [this] { m_runner.interrupt(); });
    patience.start(dialectQueryPatienceMs);
    const RunOutcome outcome = m_runner.run(dialectQueryCommand(m_env.rendering, m_env.programFolder));
    if (outcome.failure == RunOutcome::Failure::None && !outcome.interrupted)
        m_dialect = dialectFromUsage(outcome.text);
    // An unreadable answer holds for the rest of this operation only.
    m_operation->dialectRead = m_dialect.has_value();
    if (!m_dialect)
        m_dialect = ToolDialect::assumed();
    return *m_dialect;
}

void frmMain::setOperationButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {ui->cmdFuseRD, ui->cmdFuseWR, ui->cmdCalRD, ui->cmdFrun, ui->cmdErun, ui->cmdRst})
        button->setEnabled(enabled);
}

void frmMain::appendFailureHints(const RunningOperation &operation)
{
    if (!operation.failed())
        return;
    const FailedRun run{operation.lastCaptured(),      operation.kind(), operation.context().selections.programmer,
                        platform::buildPlatformName(), knownChips(),     operation.lastSilentSeconds(),
                        operation.writtenLock};
    const QString pane = ui->txtOutput->paneText();
    ui->txtOutput->appendPaneText(paneWithHints(pane, failureHints(run)).mid(pane.size()));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_operation) {
        // The tool is ended and the operation unwinds without further messages.
        m_operation->close();
        m_runner.interrupt();
    }
    event->accept();
}

frmMain::OperationScope::OperationScope(frmMain &window, OperationKind kind) : m_window(window)
{
    if (window.m_operation)
        return;
    m_operation.emplace(
        kind, [&window](const ToolCommand &command, RunShown shown) { return window.RunAndCapture(command, shown); });
    window.m_operation = &*m_operation;
    window.setOperationButtonsEnabled(false);
}

frmMain::OperationScope::~OperationScope()
{
    if (!m_operation)
        return;
    m_window.appendFailureHints(*m_operation);
    m_window.m_operation = nullptr;
    m_window.setOperationButtonsEnabled(true);
    if (!m_operation->dialectRead)
        m_window.m_dialect.reset();
}
