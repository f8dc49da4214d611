#pragma once
// Stands between the simulator's wrapper and the real avrdude for one test:
// counts avrdude runs and, just before run number `run` starts, runs a piece
// of shell. The wrapper takes the real tool from FUSEWRIGHT_REAL_AVRDUDE.

#include "sim_paths.h"

#include <QFile>
#include <QTemporaryDir>

class ToolHook {
public:
    ToolHook(int run, const QByteArray &shell)
    {
        const QByteArray dir = QFile::encodeName(m_dir.path());
        QFile script(m_dir.filePath(QStringLiteral("avrdude")));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nn=$(( $(cat '" + dir + "/count' 2>/dev/null || echo 0) + 1 ))\n"
                     "echo $n > '" + dir + "/count'\n"
                     "if [ $n -eq " + QByteArray::number(run) + " ]; then\n" + shell + "\nfi\n"
                     "exec '" + QFile::encodeName(realAvrdude()) + "' \"$@\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("FUSEWRIGHT_REAL_AVRDUDE", QFile::encodeName(script.fileName()));
    }
    ~ToolHook() { qunsetenv("FUSEWRIGHT_REAL_AVRDUDE"); }

    int runs() const
    {
        QFile f(m_dir.filePath(QStringLiteral("count")));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toInt() : 0;
    }

    // The shell that kills this very run (the exec'd avrdude) after `seconds`.
    static QByteArray killThisRunAfter(const char *seconds)
    {
        return QByteArray("(sleep ") + seconds + "; kill -KILL $$) </dev/null >/dev/null 2>&1 &";
    }

private:
    QTemporaryDir m_dir;
};
