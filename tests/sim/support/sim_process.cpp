#include "sim_process.h"

#include "sim_paths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <csignal>

SimProcess::~SimProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool SimProcess::start(const QString &portFile, const QStringList &extraArgs, int timeoutMs)
{
    QFile::remove(portFile);
    process_.setProgram(simExecutable());
    process_.setArguments(QStringList{"--port-file", portFile} + extraArgs);
    process_.start();
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = "cannot start " + simExecutable() + ": " + process_.errorString();
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray content = file.readAll();
            if (content.endsWith('\n')) {
                port_ = QString::fromLocal8Bit(content.trimmed());
                return true;
            }
        }
        if (process_.state() == QProcess::NotRunning) {
            error_ = "simulator exited early: " + QString::fromLocal8Bit(process_.readAllStandardError());
            return false;
        }
        process_.waitForFinished(20);
    }
    error_ = "no port file after " + QString::number(timeoutMs) + " ms";
    return false;
}

QString SimProcess::standardError()
{
    return QString::fromLocal8Bit(process_.readAllStandardError());
}

int SimProcess::stop(int signal, int timeoutMs)
{
    if (process_.state() == QProcess::NotRunning)
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    ::kill(pid_t(process_.processId()), signal);
    if (!process_.waitForFinished(timeoutMs))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}
