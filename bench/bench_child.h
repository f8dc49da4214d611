#pragma once
// Shared by the runner benchmarks: a command as data, and the bare baseline
// that starts the same child and reads its pipe with nothing in between.

#include "platform/child_process.h"
#include "runner/tool_command.h"

#include <QByteArray>

#include <cerrno>
#include <poll.h>

namespace bench {

inline ToolCommand command(const QString &program, const QStringList &args)
{
    ToolCommand c;
    c.program = program;
    c.arguments = args;
    c.text = program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
    return c;
}

// Starts the child, reads its pipe 64 KiB at a time until it ends, reaps it.
// Returns the bytes read, or -1 when the child could not be started.
inline qint64 bareRun(const ToolCommand &c)
{
    platform::ChildProcess child;
    if (child.start(c.program, c.arguments) != platform::ChildProcess::Failure::None)
        return -1;
    QByteArray bytes;
    constexpr qint64 chunk = 64 * 1024;
    for (;;) {
        const qsizetype had = bytes.size();
        bytes.resize(had + chunk);
        const qint64 n = child.readAvailable(bytes.data() + had, chunk);
        bytes.resize(had + qMax<qint64>(n, 0));
        if (n > 0)
            continue;
        if (n != -1)
            break;
        pollfd p{child.outputDescriptor(), POLLIN, 0};
        if (::poll(&p, 1, -1) < 0 && errno != EINTR)
            break;
    }
    child.closeOutput();
    child.reapBlocking();
    return bytes.size();
}

} // namespace bench
