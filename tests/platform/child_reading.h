#pragma once
// Reads a ChildProcess's output with poll(), bounded, for tests that drive
// the class without an event loop.

#include "platform/child_process.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <poll.h>

namespace fw_test {

struct ReadResult {
    QByteArray bytes;
    bool endOfOutput = false; // false: gave up after the time allowed
};

// Reads until end-of-output, or until `until` appears in what was read.
inline ReadResult readOutput(platform::ChildProcess &child, int allowedMs, const QByteArray &until = {})
{
    ReadResult r;
    QElapsedTimer clock;
    clock.start();
    char buffer[4096];
    while (clock.elapsed() < allowedMs) {
        const qint64 n = child.readAvailable(buffer, sizeof buffer);
        if (n > 0) {
            r.bytes.append(buffer, n);
            if (!until.isEmpty() && r.bytes.contains(until))
                return r;
            continue;
        }
        if (n == 0 || n == -2) {
            r.endOfOutput = true;
            return r;
        }
        pollfd p{child.outputDescriptor(), POLLIN, 0};
        ::poll(&p, 1, 50);
    }
    return r;
}

} // namespace fw_test
