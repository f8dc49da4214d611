#include "memory_procedure.h"

#include "image_extent.h"
#include "runner/signature_probe.h"

using Kind = OperationProblem::Kind;

int memoryBytes(const ChipProfile &chip, MemoryKind memory)
{
    return memory == MemoryKind::Flash ? chip.flashBytes : chip.eepromBytes;
}

namespace {
// avrdude erases the Flash before it reads the image: an image it would
// reject, misread or write only in part is refused before it runs. A file
// that cannot be opened is the tool's to report: it says so before it
// touches the chip.
OperationProblem imageProblem(const QString &file, const ChipProfile *chip, MemoryKind memory)
{
    const ImageReading image = readImageFile(file);
    if (!image.usable() && image.fault != ImageReading::Fault::Unreadable)
        return OperationProblem::of(Kind::ImageUnusable, QString::number(int(image.fault)),
                                    image.line ? QString::number(image.line) : QString());
    const int capacity = chip ? memoryBytes(*chip, memory) : -1;
    if (image.usable() && capacity >= 0 && image.extent > capacity)
        return OperationProblem::of(Kind::ImageTooLarge, QString::number(image.extent), QString::number(capacity));
    return OperationProblem();
}
} // namespace

TransferResult transferImage(const MemoryOperation &panel, RunningOperation &running, OutputPane &pane,
                             const TransferQuestions &ask)
{
    TransferResult result;
    const OperationContext &frozen = running.context();
    const ChipProfile *chip = chipForPart(frozen.selections.part);

    // 1. The chip on the programmer must be the chosen one; it is checked
    // before the file is looked at.
    result.problem = probeChip(running, pane);
    if (!result.problem.isNone())
        return result;
    // 2. A panel without a file asks for one.
    QString file = panel.file;
    if (file.isEmpty()) {
        file = ask.chooseMissingFile();
        if (file.isEmpty())
            return result;
    }
    // 3. A read may overwrite the file only when the user says so.
    if (panel.direction == TransferDirection::Read && !ask.overwrite(file))
        return result;
    // 4. An image to program is read as the tool will read it, and must fit.
    if (panel.direction == TransferDirection::Program) {
        result.problem = imageProblem(file, chip, panel.memory);
        if (!result.problem.isNone())
            return result;
    }
    // 5. The tool transfers and verifies; the pane shows its output as it arrives.
    result.op = transferFragment(panel.memory, panel.direction, file);
    result.verify = panel.verify ? verifyFragment(panel.memory, panel.direction, file) : CommandFragment();
    const CapturedRun captured =
        showAndCapture(pane, frozen.prefix + result.op + result.verify, running, RunShown::WhileRunning);
    result.toolRan = true;
    if (captured.abandoned)
        result.problem = OperationProblem::of(Kind::Abandoned);
    return result;
}
