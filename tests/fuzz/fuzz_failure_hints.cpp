// Any text the tool may print, for every operation, programmer and
// platform: at most two hints, each one line beginning with nothing but the
// hint, and the pane keeps its text before them.

#include "fuzz_check.h"

#include "fuses/chip_profile.h"
#include "runner/failure_hints.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const char *programmers[] = {"avr910", "pony-stk200", "usbasp", ""};
    FailedRun run;
    run.captured = QString::fromUtf8(fuzzBytes(data + 1, size - 1));
    run.operation = OperationKind(choice % 8);
    run.programmer = QString::fromLatin1(programmers[(choice >> 3) & 3]);
    run.platform = (choice & 0x20) ? QStringLiteral("windows") : QStringLiteral("linux");
    run.knownChips = knownChips();
    const QStringList hints = failureHints(run);
    FUZZ_CHECK(hints.size() <= maxFailureHints);
    for (const QString &hint : hints)
        FUZZ_CHECK(!hint.isEmpty() && !hint.contains(QLatin1Char('\n')) && !hint.contains(QLatin1Char('\r')));
    const QString pane = paneWithHints(run.captured, hints);
    FUZZ_CHECK(pane.startsWith(run.captured));
    FUZZ_CHECK(hints.isEmpty() == (pane == run.captured));
    return 0;
}
