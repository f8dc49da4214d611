#pragma once
// One operation at a time: while a tool runs, none of the six operation
// buttons can start another one (the exchange files and the output pane are
// shared). The scope owns the operation in progress; on leaving, a failed
// operation's pane gets its hints and the buttons are enabled again.

#include "frmMain.h"
#include "runner/running_operation.h"

#include <optional>

class frmMain::OperationScope {
public:
    OperationScope(frmMain &window, OperationKind kind);
    ~OperationScope();
    OperationScope(const OperationScope &) = delete;
    OperationScope &operator=(const OperationScope &) = delete;

    // False when another operation is already running: the caller returns at once.
    explicit operator bool() const { return m_operation.has_value(); }
    RunningOperation &operator*() { return *m_operation; }

private:
    frmMain &m_window;
    std::optional<RunningOperation> m_operation;
};
