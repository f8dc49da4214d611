#pragma once
// The calibration read: the signature probe, then one run of the tool that
// leaves the four RC-oscillator calibration bytes in fuse.bin, which become
// the texts of the four calibration boxes. It works on the inputs frozen in
// the operation in progress and runs the tool only through it.

#include "runner/operation_problem.h"
#include "runner/output_pane.h"
#include "runner/running_operation.h"

#include <array>
#include <optional>

struct CalibrationResult {
    CommandFragment calibrationOp; // the fragment of the main command, once composed
    OperationProblem problem;
    // The boxes' new texts, 1, 2, 4 and 8 MHz; nothing: they stay as they are.
    std::optional<std::array<QString, 4>> boxTexts;
};

// When the probe meets another chip the four boxes are emptied; any other
// failure before the read leaves them as they are. exchangeFile: fuse.bin in
// the exchange folder (ExchangePaths::read).
CalibrationResult readCalibration(const QString &exchangeFile, RunningOperation &running, OutputPane &pane);
