#pragma once
// The fuse and lock write: the signature probe, the user's confirmation, the
// three bytes composed from the panel and handed to the tool in three
// one-byte exchange files, which are removed again. It works on the inputs
// frozen in the operation in progress and runs the tool only through it.

#include "exchange_files.h"
#include "fuse_bits.h"
#include "runner/operation_problem.h"
#include "runner/output_pane.h"
#include "runner/running_operation.h"

#include <functional>

struct FuseWriteResult {
    OperationProblem problem;
    FuseBytes written; // the bytes handed to the tool, when it ran
    bool toolRan = false;
};

// ticks: the panel as the user saw it when pressing the button. confirm asks
// the user after the probe; false cancels.
FuseWriteResult writeFuses(const ExchangePaths &files, const PanelTicks &ticks, RunningOperation &running,
                           OutputPane &pane, const std::function<bool()> &confirm);
