#include "memory_procedure.h"

#include "image_extent.h"
#include "runner/signature_probe.h"

using Kind = OperationProblem::Kind;

int memoryBytes(const ChipProfile &chip, MemoryKind memory)
{
    return memory == MemoryKind::Flash ? chip.flashBytes : chip.eepromBytes;
}

TransferResult transferImage(const MemoryOperation &operation, RunningOperation &running, OutputPane &pane,
                             const TransferQuestions &ask)
{
    TransferResult result;
    // The chip is checked before the file is looked at.
    if (!probeInto(result, operation.context, running, pane))
        return result;
    QString file = operation.file;
    if (file.isEmpty()) {
        file = ask.chooseMissingFile();
        if (file.isEmpty())
            return result;
    }
    if (operation.direction == TransferDirection::Read && !ask.overwrite(file))
        return result;
    if (operation.direction == TransferDirection::Program) {
        // avrdude erases the Flash before it reads the image: an image it
        // would reject, misread or write only in part is refused here.
        const ImageReading image = readImageFile(file);
        if (!image.usable() && image.fault != ImageReading::Fault::Unreadable) {
            result.problem = OperationProblem::of(Kind::ImageUnusable, QString::number(int(image.fault)),
                                                  image.line ? QString::number(image.line) : QString());
            return result;
        }
        // A file that cannot be opened is the tool's to report: it says so before touching the chip.
        const int capacity = operation.chip ? memoryBytes(*operation.chip, operation.memory) : -1;
        if (image.usable() && capacity >= 0 && image.extent > capacity) {
            result.problem =
                OperationProblem::of(Kind::ImageTooLarge, QString::number(image.extent), QString::number(capacity));
            return result;
        }
    }

    result.op = transferFragment(operation.memory, operation.direction, file);
    result.verify = operation.verify ? verifyFragment(operation.memory, operation.direction, file) : CommandFragment();
    result.lastCommand = operation.context.prefix + result.op + result.verify;
    const CapturedRun captured = showAndCapture(pane, result.lastCommand, running, RunShown::WhileRunning);
    result.toolRan = true;
    if (captured.abandoned)
        result.problem = OperationProblem::of(Kind::Abandoned);
    return result;
}
