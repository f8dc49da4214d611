#pragma once

#include <QString>
#include <QStringList>

struct AvrdudeResult {
    bool finished = false; // false: killed after the timeout
    int exitCode = -1;
    QString output; // stdout and stderr together

    bool ok() const { return finished && exitCode == 0; }
};

// Runs program (the real avrdude, or a wrapper) with
// "-c avr910 -p <part> -P <port> -C <conf>" followed by args.
AvrdudeResult runAvr910(const QString &program, const QString &part, const QString &port, const QStringList &args,
                        const QString &workDir = QString(), int timeoutMs = 60000);
