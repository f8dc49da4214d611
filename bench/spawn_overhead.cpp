// What one run costs on its own: a trivial program through the runner
// against a bare start, read to the end and reap of the same program.
// Prints figures; passes or fails nothing.
//
//   bench_spawn_overhead [runs=500]

#include "bench_child.h"
#include "runner/command_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int runs = a.size() > 1 ? a.at(1).toInt() : 500;
    const ToolCommand nothing = bench::command(QStringLiteral("/bin/true"), {});

    CommandRunner runner;
    runner.run(nothing); // warm the caches
    bench::bareRun(nothing);
    double runnerMs = 0, bareMs = 0;
    // Interleaved, so both see the same machine load.
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (runner.run(nothing).failure != RunOutcome::Failure::None) {
            std::fprintf(stderr, "/bin/true failed to start\n");
            return 1;
        }
        runnerMs += double(clock.nsecsElapsed()) / 1e6;
        clock.start();
        if (bench::bareRun(nothing) < 0) {
            std::fprintf(stderr, "/bin/true failed to start\n");
            return 1;
        }
        bareMs += double(clock.nsecsElapsed()) / 1e6;
    }
    std::printf("%d runs of /bin/true\n", runs);
    std::printf("  runner:                  %.3f ms a run\n", runnerMs / runs);
    std::printf("  bare spawn, read, reap:  %.3f ms a run\n", bareMs / runs);
    std::printf("  extra per run: %.3f ms   (goal < 1 ms)   ratio %.2f\n", (runnerMs - bareMs) / runs,
                runnerMs / bareMs);
    return 0;
}
