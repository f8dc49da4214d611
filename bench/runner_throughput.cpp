// Capture throughput: a child writes as fast as it can; the runner captures
// it while servicing the event loop, against a bare 64 KiB read() loop on
// the same child. Also the longest time the event loop went unserviced.
// Prints figures; passes or fails nothing.
//
//   bench_runner_throughput [megabytes=64] [rounds=5]

#include "bench_child.h"
#include "runner/command_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int megabytes = a.size() > 1 ? a.at(1).toInt() : 64;
    const int rounds = a.size() > 2 ? a.at(2).toInt() : 5;
    const qint64 bytes = qint64(megabytes) * 1024 * 1024;
    const ToolCommand flood = bench::command(
        QStringLiteral("/usr/bin/head"), {QStringLiteral("-c"), QString::number(bytes), QStringLiteral("/dev/zero")});

    CommandRunner runner;
    double bestRunner = 1e300, bestBare = 1e300, worstGapMs = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        if (bench::bareRun(flood) != bytes) {
            std::fprintf(stderr, "the bare read lost bytes\n");
            return 1;
        }
        bestBare = std::min(bestBare, double(clock.nsecsElapsed()) / 1e6);

        // A zero-interval timer fires on every pass of the event loop.
        QElapsedTimer sincePass;
        double gapMs = 0;
        QTimer pass;
        QObject::connect(&pass, &QTimer::timeout, [&] {
            gapMs = std::max(gapMs, double(sincePass.nsecsElapsed()) / 1e6);
            sincePass.start();
        });
        pass.start(0);
        clock.start();
        sincePass.start();
        const RunOutcome o = runner.run(flood);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        pass.stop();
        if (o.bytes.size() != bytes || o.text.size() != bytes) {
            std::fprintf(stderr, "captured %lld of %lld bytes\n", qint64(o.bytes.size()), bytes);
            return 1;
        }
        bestRunner = std::min(bestRunner, ms);
        worstGapMs = std::max(worstGapMs, gapMs);
    }
    const double runnerRate = megabytes / (bestRunner / 1000.0);
    const double bareRate = megabytes / (bestBare / 1000.0);
    std::printf("capture %d MiB, best of %d\n", megabytes, rounds);
    std::printf("  runner (read, service the window, decode): %8.1f ms  %7.0f MiB/s\n", bestRunner, runnerRate);
    std::printf("  bare 64 KiB read() loop:                   %8.1f ms  %7.0f MiB/s\n", bestBare, bareRate);
    std::printf("  ratio runner/bare: %.2f   (goal >= 0.5)\n", runnerRate / bareRate);
    std::printf("  longest stretch without an event-loop pass: %.1f ms   (goal < 30 ms)\n", worstGapMs);
    return 0;
}
