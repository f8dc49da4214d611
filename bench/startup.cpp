// Start-up: wall time from starting the process to its main window painted
// (offscreen), and the peak memory at that moment, for Fusewright and for a
// minimal Qt Widgets window. Prints figures; passes or fails nothing.
//
//   bench_startup [runs=20]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Sample {
    double ms = 0;
    long peakKiB = 0;
    QString title;
};

bool startOnce(const QString &program, const QString &runtimeDir, Sample &out)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FW_STARTUP_PROBE));
    // A lock folder of its own, so a Fusewright the user has open does not
    // turn the measured start into a refused one.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(program, {});
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(10000))
            return false;
    }
    out.ms = double(clock.nsecsElapsed()) / 1e6;
    const QByteArray line = child.readLine().trimmed();
    if (!line.startsWith("shown "))
        return false;
    const QList<QByteArray> words = line.split(' ');
    out.peakKiB = words.value(1).toLong();
    out.title = QString::fromUtf8(line.mid(words.value(0).size() + words.value(1).size() + 2));
    child.waitForFinished(5000);
    return true;
}

Sample median(std::vector<Sample> samples)
{
    std::sort(samples.begin(), samples.end(), [](const Sample &a, const Sample &b) { return a.ms < b.ms; });
    Sample m = samples[samples.size() / 2];
    long peak = 0;
    for (const Sample &s : samples)
        peak = std::max(peak, s.peakKiB);
    m.peakKiB = peak;
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 20;
    QTemporaryDir runtimeDir;
    const QString programs[2] = {QStringLiteral(FW_PROGRAM), QStringLiteral(FW_MINIMAL_WINDOW)};
    std::vector<Sample> samples[2];
    // Interleaved, so both see the same machine load.
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            Sample s;
            if (!startOnce(programs[p], runtimeDir.path(), s)) {
                std::fprintf(stderr, "%s did not show a window\n", qPrintable(programs[p]));
                return 1;
            }
            samples[p].push_back(s);
        }
    }
    const Sample program = median(samples[0]);
    const Sample minimal = median(samples[1]);
    std::printf("%d starts each, offscreen; median time to the first paint, highest peak RSS\n", runs);
    std::printf("  fusewright:       %7.1f ms  %6.1f MiB   (goals < 150 ms, < 60 MB)  first window \"%s\"\n",
                program.ms, program.peakKiB / 1024.0, qPrintable(program.title));
    std::printf("  minimal window:   %7.1f ms  %6.1f MiB\n", minimal.ms, minimal.peakKiB / 1024.0);
    std::printf("  ratio:            %7.2f      %6.2f\n", program.ms / minimal.ms,
                double(program.peakKiB) / double(minimal.peakKiB));
    return 0;
}
