// How fast CommandRunner captures output, and what one run costs on its own.
// Prints figures; passes or fails nothing.
//
//   bench_runner_throughput [megabytes=1] [runs=100]

#include "runner/command_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

ToolCommand command(const QString &program, const QStringList &args)
{
    ToolCommand c;
    c.program = program;
    c.arguments = args;
    c.text = program + ' ' + args.join(' ');
    return c;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int megabytes = a.size() > 1 ? a.at(1).toInt() : 1;
    const int runs = a.size() > 2 ? a.at(2).toInt() : 100;
    CommandRunner runner;

    const qint64 bytes = qint64(megabytes) * 1024 * 1024;
    const ToolCommand flood = command(QStringLiteral("/usr/bin/head"),
                                      {QStringLiteral("-c"), QString::number(bytes), QStringLiteral("/dev/zero")});
    runner.run(flood);   // warm the caches
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        clock.start();
        const RunOutcome o = runner.run(flood);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (o.bytes.size() != bytes) {
            std::fprintf(stderr, "captured %lld of %lld bytes\n", qint64(o.bytes.size()), bytes);
            return 1;
        }
        std::printf("capture %d MiB: %8.2f ms  (%.0f MiB/s)\n", megabytes, ms, megabytes / (ms / 1000.0));
    }

    const ToolCommand nothing = command(QStringLiteral("/bin/true"), {});
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < runs; ++i) {
        const RunOutcome o = runner.run(nothing);
        if (o.failure != RunOutcome::Failure::None) {
            std::fprintf(stderr, "/bin/true failed to start: %d\n", o.errorNumber);
            return 1;
        }
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%d runs of /bin/true: %8.2f ms  (%.3f ms a run)\n", runs, ms, ms / runs);
    return 0;
}
