// The unresponsive-programmer watch fed the tool's output in reads of
// varying length, as the runner delivers it: after every read its answer must
// be what counting the whole output so far gives, and a second run on the
// same watch must not remember the first.

#include "fuzz_check.h"
#include "runner/unresponsive_programmer.h"

namespace {
int complaintsIn(const QByteArray &output)
{
    static const QByteArray complaint("programmer is not responding");
    int n = 0;
    for (qsizetype at = output.indexOf(complaint); at >= 0; at = output.indexOf(complaint, at + complaint.size()))
        ++n;
    return n;
}

void feed(UnresponsiveProgrammerWatch &watch, const QByteArray &whole, uint8_t step)
{
    QByteArray output;
    qsizetype at = 0;
    for (int read = 0; at < whole.size(); ++read) {
        const qsizetype length = 1 + (step * (read + 1)) % 61;
        const qsizetype from = output.size();
        output += whole.mid(at, length);
        at += length;
        FUZZ_CHECK(watch(output, from) == (complaintsIn(output) >= 3));
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray whole = fuzzBytes(data + 1, size - 1);
    UnresponsiveProgrammerWatch watch;
    feed(watch, whole, data[0]);
    feed(watch, whole, uint8_t(data[0] + 7));
    return 0;
}
