#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// One fusewright-sim running for a test, with its port file in a folder the
// caller owns. Every wait is bounded; the destructor kills what is left.
class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts the simulator with --port-file portFile plus extraArgs and waits
    // until the port file names the pseudo-terminal. False on failure or
    // timeout; errorText() tells why.
    bool start(const QString &portFile, const QStringList &extraArgs, int timeoutMs = 10000);

    QString port() const { return port_; }
    qint64 pid() const { return process_.processId(); }
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    QString errorText() const { return error_; }
    QString standardError();

    // Sends the signal and waits for the exit; -1 if it did not exit in time.
    int stop(int signal = 15, int timeoutMs = 5000);

private:
    QProcess process_;
    QString port_;
    QString error_;
};
