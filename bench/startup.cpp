// Start-up: time and CPU time from starting the process to its main window's
// first paint, and the peak memory at that moment, for Fusewright and for a
// minimal Qt Widgets window. Twice: offscreen against an empty window, and
// under Xvfb with the xcb platform (what a user sees) against a window that
// shows one line of Chinese text, so that both load a font. Prints figures;
// passes or fails nothing.
//
//   bench_startup [runs=20]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Sample {
    double ms = 0;
    double cpuMs = 0;
    long peakKiB = 0;
    QString title;
};

bool startOnce(const QString &program, const QStringList &args, const QProcessEnvironment &env, Sample &out)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(program, args);
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
    out.cpuMs = words.value(2).toDouble() / 1000.0;
    const qsizetype titleFrom = words.value(0).size() + words.value(1).size() + words.value(2).size() + 3;
    out.title = QString::fromUtf8(line.mid(titleFrom));
    child.waitForFinished(5000);
    return true;
}

// The median of each figure on its own; the highest peak memory.
Sample median(const std::vector<Sample> &samples)
{
    const auto middle = [&](double Sample::*figure) {
        std::vector<double> values;
        for (const Sample &s : samples)
            values.push_back(s.*figure);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    Sample m = samples.front();
    m.ms = middle(&Sample::ms);
    m.cpuMs = middle(&Sample::cpuMs);
    for (const Sample &s : samples)
        m.peakKiB = std::max(m.peakKiB, s.peakKiB);
    return m;
}

// Starts the program and the minimal window in turn, so both see the same
// machine load, and prints their medians side by side.
bool compare(const char *heading, const QProcessEnvironment &env, const QStringList &minimalArgs, int runs)
{
    const QString programs[2] = {QStringLiteral(FW_PROGRAM), QStringLiteral(FW_MINIMAL_WINDOW)};
    const QStringList args[2] = {QStringList(), minimalArgs};
    std::vector<Sample> samples[2];
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            Sample s;
            if (!startOnce(programs[p], args[p], env, s)) {
                std::fprintf(stderr, "%s did not show a window (%s)\n", qPrintable(programs[p]), heading);
                return false;
            }
            samples[p].push_back(s);
        }
    }
    const Sample program = median(samples[0]);
    const Sample minimal = median(samples[1]);
    std::printf("%s, %d starts each; medians to the first paint, highest peak RSS\n", heading, runs);
    std::printf("                    time        CPU time    peak RSS\n");
    std::printf("  fusewright:       %7.1f ms  %7.1f ms  %6.1f MiB   (goals < 150 ms, < 60 MB)  first window \"%s\"\n",
                program.ms, program.cpuMs, program.peakKiB / 1024.0, qPrintable(program.title));
    std::printf("  minimal window:   %7.1f ms  %7.1f ms  %6.1f MiB\n", minimal.ms, minimal.cpuMs,
                minimal.peakKiB / 1024.0);
    std::printf("  ratio:            %7.2f     %7.2f     %6.2f\n", program.ms / minimal.ms,
                program.cpuMs / minimal.cpuMs, double(program.peakKiB) / double(minimal.peakKiB));
    return true;
}

// An Xvfb of its own on a display it picks itself; stopped when this ends.
class VirtualDisplay {
public:
    bool start()
    {
        m_server.setProgram(QStringLiteral("Xvfb"));
        m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")});
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start();
        while (!m_server.canReadLine()) {
            if (!m_server.waitForReadyRead(10000))
                return false;
        }
        m_name = QLatin1Char(':') + QString::fromLatin1(m_server.readLine().trimmed());
        return true;
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    QString name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 20;
    QTemporaryDir runtimeDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FW_STARTUP_PROBE));
    // A lock folder of its own, so a Fusewright the user has open does not
    // turn the measured start into a refused one.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());

    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!compare("Offscreen, against an empty window", env, {}, runs))
        return 1;

    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        std::printf("\nUnder Xvfb: skipped, no Xvfb (scripts/install-deps installs it)\n");
        return 0;
    }
    VirtualDisplay display;
    if (!display.start()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display.name());
    std::printf("\n");
    const QStringList oneLine{QStringLiteral("--line")};
    return compare("Under Xvfb (xcb), against a window with one line of Chinese text", env, oneLine, runs) ? 0 : 1;
}
