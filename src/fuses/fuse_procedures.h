#pragma once
// The fuse read, the fuse write and the calibration read, each from its
// signature probe to its last exchange file. A procedure works on the
// operation as frozen when its button was pressed and on nothing else, runs
// the tool only through the operation in progress, and returns what the
// window shows.
// The pane shows the command lines while the runs go on.

#include "chip_profile.h"
#include "exchange_files.h"
#include "fuse_bits.h"
#include "runner/operation_context.h"
#include "runner/operation_problem.h"
#include "runner/output_pane.h"
#include "runner/signature_probe.h"

#include <functional>

struct FuseOperation {
    OperationContext context;
    const ChipProfile *chip = nullptr; // nullptr: a part the program does not know
    ExchangePaths exchange;
};

// The opening of the reads through fuse.bin: a leftover file is removed, so
// it can never be shown as the chip's value, then the chip is probed.
// ProbeOutcome::command stays empty when the removal failed.
ProbeOutcome clearExchangeAndProbe(const FuseOperation &operation, RunningOperation &running, OutputPane &pane);

struct FuseReadResult {
    ToolCommand lastCommand; // empty when nothing was composed
    OperationProblem problem;
    FuseBytes bytes;
    bool panelFilled = false;  // bytes holds the chip's bytes
    bool panelCleared = false; // no answer: every box is cleared
};
FuseReadResult readFuses(const FuseOperation &operation, RunningOperation &running, OutputPane &pane);

struct FuseWriteResult {
    ToolCommand lastCommand;
    OperationProblem problem;
    FuseBytes written; // the bytes handed to the tool, when it ran
    bool toolRan = false;
};
// ticks: the panel as the user saw it when pressing the button. confirm asks
// the user after the probe; false cancels.
FuseWriteResult writeFuses(const FuseOperation &operation, const PanelTicks &ticks, RunningOperation &running,
                           OutputPane &pane, const std::function<bool()> &confirm);

struct CalibrationResult {
    ToolCommand lastCommand;
    CommandFragment calibrationOp; // the fragment of the main command, once composed
    OperationProblem problem;
    QByteArray bytes;       // what the exchange file held: 1, 2, 4, 8 MHz
    bool showBytes = false; // false: the four boxes stay as they are
};
// When the probe meets another chip the four boxes are emptied (showBytes
// with no bytes); any other failure before the read leaves them as they are.
CalibrationResult readCalibration(const FuseOperation &operation, RunningOperation &running, OutputPane &pane);
