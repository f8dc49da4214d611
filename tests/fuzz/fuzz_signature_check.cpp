// The signature probe's reading of the tool's text: the candidate after
// "Device signature = " and its comparison with the chosen chip's. The first
// byte picks the chip; the rest is the tool's output.

#include "fuzz_check.h"
#include "platform/child_process.h"
#include "runner/signature_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QString expected = data[0] & 1 ? QStringLiteral("0x1e9403") : QStringLiteral("0x1e9307");
    const QString captured = platform::decodeToolOutput(fuzzBytes(data + 1, size - 1));

    const QString candidate = signatureCandidate(captured);
    FUZZ_CHECK(candidate.size() <= 8);
    FUZZ_CHECK(!candidate.contains(QLatin1Char('\n')));
    FUZZ_CHECK(!candidate.endsWith(QLatin1Char('\r')));
    FUZZ_CHECK(candidate.isEmpty() || captured.contains(candidate));

    const SignatureVerdict verdict = checkSignature(captured, expected);
    FUZZ_CHECK(verdict.candidate == candidate);
    FUZZ_CHECK(verdict.matches == signatureMatches(candidate, expected));
    // Blanks, case and "0x" aside, a match is the expected signature itself.
    if (verdict.matches)
        FUZZ_CHECK(candidate.toLower().remove(QLatin1Char(' ')).endsWith(expected.mid(2)));
    FUZZ_CHECK(!signatureMatches(candidate, QString()));
    FUZZ_CHECK(!candidate.contains(QLatin1Char('\n')) && candidate.size() <= 8);
    return 0;
}
