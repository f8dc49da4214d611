#pragma once
// The Flash and EEPROM transfer, from its signature probe to the tool's last
// word. Like the fuse procedures it works on the operation as frozen when
// its button was pressed, runs the tool only through the operation in
// progress, asks the user only through the questions it is handed, and
// returns what the window shows.

#include "fuses/chip_profile.h"
#include "image_transfer.h"
#include "runner/operation_problem.h"
#include "runner/output_pane.h"
#include "runner/running_operation.h"

#include <functional>

// The panel's inputs, taken when its button was pressed; the selections
// are in the operation in progress.
struct MemoryOperation {
    MemoryKind memory = MemoryKind::Flash;
    TransferDirection direction = TransferDirection::Program;
    bool verify = true;
    QString file; // the panel's image; empty when none is chosen yet
};

struct TransferQuestions {
    // After the probe, when no image is chosen: tells the user and offers the
    // file dialog. The chosen path, or empty when cancelled.
    std::function<QString()> chooseMissingFile;
    // Before a read: may the tool overwrite this file?
    std::function<bool(const QString &file)> overwrite;
};

struct TransferResult {
    CommandFragment op; // the transfer and verify fragments, once composed
    CommandFragment verify;
    OperationProblem problem;
    bool toolRan = false; // the transfer itself ran
};

// The chip's size of this memory in bytes.
int memoryBytes(const ChipProfile &chip, MemoryKind memory);

// The pane shows the transfer's output while it arrives. An image that does
// not fit the chip's memory, or that the tool would reject or misread, is
// refused before the transfer, so the chip keeps its program.
TransferResult transferImage(const MemoryOperation &panel, RunningOperation &running, OutputPane &pane,
                             const TransferQuestions &ask);
