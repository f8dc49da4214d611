#include "avrdude_runner.h"

#include "sim_paths.h"

#include <QProcess>

AvrdudeResult runAvr910(const QString &program, const QString &part, const QString &port, const QStringList &args,
                        const QString &workDir, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(program, QStringList{"-c", "avr910", "-p", part, "-P", port, "-C", avrdudeConf()} + args);
    AvrdudeResult result;
    if (!process.waitForStarted(10000)) {
        result.output = "cannot start " + program + ": " + process.errorString();
        return result;
    }
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    if (result.finished && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    else
        result.finished = false;
    return result;
}
