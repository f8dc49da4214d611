// What the program adds to a whole fuse read: the window's cmdFuseRD_Click
// against the same four avrdude command lines (probe, high fuse, low fuse,
// lock) started bare one after the other, both through the simulator's
// wrapper to the virtual chip; the program's own CPU time in each read; and
// what the version query costs the first operation of a program run. Prints
// figures; passes or fails nothing. scripts/bench runs it offscreen and
// again through bench/under_screen_reader.sh.
//
//   bench_fuse_read_overhead [reads=10]

#include "app_test_main.h"
#include "bench_child.h"
#include "cpu_time.h"
#include "sim_bench.h"
#include "tool_hook.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The program's own CPU time in ms: avrdude, a child, is not counted.
double ownCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(ownCpuMicroseconds(usage)) / 1e3;
}

// The argument lists of every run since the hook was set, as avrdude got them.
QList<QStringList> loggedRuns(const QString &log)
{
    QFile f(log);
    f.open(QIODevice::ReadOnly);
    QList<QStringList> runs{{}};
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line == "--end--")
            runs.append(QStringList());
        else if (!line.isEmpty())
            runs.last().append(QString::fromUtf8(line));
    }
    runs.removeLast();
    return runs;
}

int measure(int reads)
{
    SimBench bench(QStringLiteral("m8"));
    if (!bench.ready()) {
        std::fprintf(stderr, "%s\n", qPrintable(bench.whyNotReady()));
        return 1;
    }
    bench.fixture().chooseAll(QStringLiteral("ATmega8"), QStringLiteral("avr910"), QStringLiteral("com1"));
    frmMain &w = bench.window();
    // Shown, as a user has it: its repaints, and what it tells a screen reader, count.
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }
    const QString tool = bench.fixture().toolsFolder() + QStringLiteral("/avrdude");

    // One read with the arguments logged, to learn the command lines: the
    // first operation of a program run also asks the tool's version.
    const QString log = bench.stateFolder() + QStringLiteral("/runs.log");
    QList<QStringList> lines;
    {
        ToolHook hook(0, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" + QFile::encodeName(log)
                             + "'; echo --end-- >> '" + QFile::encodeName(log) + "'");
        w.cmdFuseRD_Click();
        lines = loggedRuns(log);
    }
    if (lines.size() != 5 || lines.first() != QStringList{QStringLiteral("-?")}
        || !bench.fixture().dialogs.messages.isEmpty()) {
        std::fprintf(stderr, "the first fuse read did not ask the version, then run its four command lines\n");
        return 1;
    }
    const QStringList versionQuery = lines.takeFirst();

    std::vector<double> window, own, bare, query;
    // Interleaved, so both see the same machine load.
    for (int i = 0; i < reads; ++i) {
        QElapsedTimer clock;
        const double cpuBefore = ownCpuMs();
        clock.start();
        w.cmdFuseRD_Click();
        window.push_back(double(clock.nsecsElapsed()) / 1e6);
        own.push_back(ownCpuMs() - cpuBefore);
        clock.start();
        for (const QStringList &args : lines)
            bench::bareRun(bench::command(tool, args));
        bare.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.start();
        bench::bareRun(bench::command(tool, versionQuery));
        query.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    if (!bench.fixture().dialogs.messages.isEmpty()) {
        std::fprintf(stderr, "a fuse read failed: %s\n", qPrintable(bench.fixture().dialogs.messages[0].text));
        return 1;
    }
    const double program = median(window), baseline = median(bare);
    std::printf("%d fuse reads of the virtual ATmega8 (median), %s, accessibility %s\n", reads,
                qPrintable(QGuiApplication::platformName()), QAccessible::isActive() ? "on" : "off");
    std::printf("  through the window:         %7.1f ms\n", program);
    std::printf("  four bare avrdude runs:     %7.1f ms\n", baseline);
    std::printf("  ratio: %.3f   (goal <= 1.01)\n", program / baseline);
    std::printf("  the program's own CPU time: %5.1f ms a read, %.3f of the bare runs   (goal <= 0.01)\n", median(own),
                median(own) / baseline);
    std::printf("  version query \"avrdude -?\", once per program run: %.2f ms   (goal < 10)\n", median(query));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    configureApplication(app);
    return measure(app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 10);
}
