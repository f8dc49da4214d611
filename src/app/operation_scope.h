#pragma once
// One operation at a time: while a tool runs, none of the six operation
// buttons can start another one (the exchange files and the output pane are
// shared). On leaving, a failed operation's pane gets its hints and the
// buttons are enabled again.

#include "runner/failure_hints.h"

class frmMain;

class OperationScope {
public:
    OperationScope(frmMain &window, OperationKind kind);
    ~OperationScope();
    OperationScope(const OperationScope &) = delete;
    OperationScope &operator=(const OperationScope &) = delete;

    // False when another operation is already running: the caller returns at once.
    explicit operator bool() const { return m_active; }

private:
    frmMain &m_window;
    bool m_active = false;
};
