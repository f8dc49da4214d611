// The live pane of a Flash or EEPROM run: what showing output while it
// arrives costs the capture, and how often the pane is appended to.
// Prints figures; passes or fails nothing.
//
//   bench_live_pane [megabytes=64] [rounds=5]

#include "app/live_output_feed.h"
#include "app/output_pane_edit.h"
#include "bench_child.h"
#include "runner/command_runner.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

// One capture of c, with the live pane attached or not; its time in ms.
double captureMs(CommandRunner &runner, const ToolCommand &c, qint64 expected, bool live)
{
    OutputPaneEdit pane;
    pane.setLineWrapMode(QPlainTextEdit::NoWrap); // as in the window
    LiveOutputFeed progress(pane);
    if (live)
        runner.setOutputListener([&progress](const char *data, qsizetype size) { progress.take(data, size); });
    QElapsedTimer clock;
    clock.start();
    const RunOutcome o = runner.run(c);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    runner.setOutputListener(nullptr);
    if (o.bytes.size() != expected) {
        std::fprintf(stderr, "captured %lld of %lld bytes\n", qint64(o.bytes.size()), expected);
        std::exit(1);
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int megabytes = a.size() > 1 ? a.at(1).toInt() : 64;
    const int rounds = a.size() > 2 ? a.at(2).toInt() : 5;
    const qint64 bytes = qint64(megabytes) * 1024 * 1024;
    const QString size = QString::number(bytes);
    const QList<QPair<const char *, ToolCommand>> floods{
        {"zero bytes",
         bench::command(QStringLiteral("/usr/bin/head"), {QStringLiteral("-c"), size, QStringLiteral("/dev/zero")})},
        {"lines of text", bench::command(QStringLiteral("/bin/sh"),
                                         {QStringLiteral("-c"),
                                          QStringLiteral("yes 'avrdude: reading input file' | head -c ") + size})}};

    CommandRunner runner;
    for (const auto &[name, flood] : floods) {
        // Alternating, so that a busy machine weighs on both alike.
        double plain = 1e300, live = 1e300;
        for (int round = 0; round < rounds; ++round) {
            plain = std::min(plain, captureMs(runner, flood, bytes, false));
            live = std::min(live, captureMs(runner, flood, bytes, true));
        }
        std::printf("capture %d MiB of %s, best of %d\n", megabytes, name, rounds);
        std::printf("  without the live pane: %8.1f ms  %7.0f MiB/s\n", plain, megabytes / (plain / 1000.0));
        std::printf("  with the live pane:    %8.1f ms  %7.0f MiB/s\n", live, megabytes / (live / 1000.0));
        std::printf("  ratio live/plain: %.2f   (goal >= 0.95)\n", plain / live);
    }

    // A progress bar: one '#' every 10 ms for 2 s.
    const ToolCommand bar =
        bench::command(QStringLiteral("/bin/sh"),
                       {QStringLiteral("-c"),
                        QStringLiteral("i=0; while [ $i -lt 200 ]; do printf '#'; sleep 0.01; i=$((i+1)); done")});
    OutputPaneEdit pane;
    LiveOutputFeed progress(pane);
    QList<qint64> appendedAt;
    QElapsedTimer clock;
    QObject::connect(&pane, &QPlainTextEdit::textChanged, [&] { appendedAt << clock.elapsed(); });
    runner.setOutputListener([&progress](const char *data, qsizetype size) { progress.take(data, size); });
    clock.start();
    const RunOutcome o = runner.run(bar);
    const qint64 total = clock.elapsed();
    qint64 shortestGap = total;
    for (qsizetype i = 1; i < appendedAt.size(); ++i)
        shortestGap = std::min(shortestGap, appendedAt[i] - appendedAt[i - 1]);
    std::printf("progress bar of %lld characters over %lld ms:\n", qint64(o.bytes.size()), total);
    std::printf("  pane appended %lld times, shortest gap %lld ms   (goal >= %d ms)\n", qint64(appendedAt.size()),
                shortestGap, LiveOutputFeed::refreshMs);
    return 0;
}
