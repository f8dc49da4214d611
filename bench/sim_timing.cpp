// How long typical avrdude runs take against fusewright-sim, block mode and
// classic. Prints figures; not a test.
#include "avrdude_runner.h"
#include "byte_files.h"
#include "intel_hex.h"
#include "sim_paths.h"
#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRepeats = 3;

struct Figure {
    double bestMs = 0;
    double medianMs = 0;
    bool ok = true;
};

Figure measure(const QString &port, const QString &workDir, const QStringList &args)
{
    std::vector<double> times;
    Figure f;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        const AvrdudeResult r = runAvr910(realAvrdude(), "m8", port, args, workDir);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!r.ok()) {
            f.ok = false;
            std::fprintf(stderr, "avrdude failed:\n%s\n", qPrintable(r.output));
        }
    }
    std::sort(times.begin(), times.end());
    f.bestMs = times.front();
    f.medianMs = times[times.size() / 2];
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    writeBytes(dir.filePath("image.hex"), toIntelHex(patternBytes(8192, 7)));

    std::printf("avrdude -c avr910 -p m8 through fusewright-sim, %d runs each (ms)\n", kRepeats);
    std::printf("%-34s %-14s %10s %10s\n", "operation", "mode", "best", "median");
    bool allOk = true;
    for (int block : {128, 0}) {
        SimProcess sim;
        const QString mode = block ? QString("block %1").arg(block) : QString("classic");
        if (!sim.start(dir.filePath("port"), {"--chip", "m8", "--block", QString::number(block)})) {
            std::fprintf(stderr, "%s\n", qPrintable(sim.errorText()));
            return 1;
        }
        const struct {
            const char *name;
            QStringList args;
        } operations[] = {
            {"signature probe (-E reset)", {"-E", "reset"}},
            {"lfuse read", {"-U", "lfuse:r:lfuse.bin:r"}},
            {"8 KiB flash write + verify", {"-U", "flash:w:image.hex:i"}},
        };
        for (const auto &op : operations) {
            const Figure f = measure(sim.port(), dir.path(), op.args);
            allOk = allOk && f.ok;
            std::printf("%-34s %-14s %10.0f %10.0f%s\n", op.name, qPrintable(mode), f.bestMs, f.medianMs,
                        f.ok ? "" : "  (FAILED)");
        }
        sim.stop();
    }
    return allOk ? 0 : 1;
}
