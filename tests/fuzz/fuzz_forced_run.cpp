// The forced high-fuse run's verdict in each dialect: the first byte picks
// the tool's major version (6, 7 or 8), the chip and whether the run exited
// with 0; the rest is the tool's output.

#include "fuzz_check.h"
#include "platform/child_process.h"
#include "runner/signature_check.h"
#include "runner/tool_dialect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const QString expected = choice & 1 ? QStringLiteral("0x1e9403") : QStringLiteral("0x1e9307");
    const bool exitedWithZero = choice & 2;
    const ToolDialect dialect{6 + (choice >> 2) % 3, choice >> 4};
    const QString captured = platform::decodeToolOutput(fuzzBytes(data + 1, size - 1));

    const SignatureVerdict probe = checkSignature(captured, expected);
    const SignatureVerdict forced = checkForcedRunSignature(captured, exitedWithZero, expected, dialect);
    FUZZ_CHECK(forced.candidate == probe.candidate);
    if (probe.matches)
        FUZZ_CHECK(forced.matches);
    // Only a tool that stays silent on a matching chip is believed without a line.
    if (forced.matches && !probe.matches) {
        FUZZ_CHECK(dialect.silentOnMatchingSignature());
        FUZZ_CHECK(exitedWithZero);
        FUZZ_CHECK(forced.candidate.isEmpty());
        FUZZ_CHECK(!captured.contains(QLatin1String("Device signature")));
        FUZZ_CHECK(!captured.contains(QLatin1String("device signature")));
    }
    FUZZ_CHECK(signatureProbeCommand(ToolCommand{}, dialect).arguments.size() == (dialect.major >= 8 ? 3 : 2));
    return 0;
}
