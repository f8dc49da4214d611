#pragma once
// The fuse and lock read: the signature probe, then one run of the tool per
// byte, high fuse, low fuse, lock, each leaving its byte in fuse.bin, which
// is read back before the next run. Like every procedure it works on the
// inputs frozen in the operation in progress, runs the tool only through it,
// and returns what the window shows; the pane shows the command lines while
// the runs go on.

#include "fuse_bits.h"
#include "runner/operation_problem.h"
#include "runner/output_pane.h"
#include "runner/running_operation.h"

struct FuseReadResult {
    OperationProblem problem;
    FuseBytes bytes;
    bool panelFilled = false;  // bytes holds the chip's bytes
    bool panelCleared = false; // no answer: every box is cleared
};

// exchangeFile: fuse.bin in the exchange folder (ExchangePaths::read).
FuseReadResult readFuses(const QString &exchangeFile, RunningOperation &running, OutputPane &pane);
