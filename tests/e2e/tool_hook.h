#pragma once
// Stands between the simulator's wrapper and the real avrdude for one test:
// counts avrdude runs and, just before run number `run` starts (every run
// for 0), runs a piece of shell that sees avrdude's arguments as "$@". The wrapper takes the real tool from
// FUSEWRIGHT_REAL_AVRDUDE.

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
        script.write("#!/bin/sh\nn=$(( $(cat '" + dir
                     + "/count' 2>/dev/null || echo 0) + 1 ))\n"
                       "echo $n > '"
                     + dir + "/count'; echo $$ > '" + dir
                     + "/pid'\n"
                       "if [ $n -eq "
                     + QByteArray::number(run) + " ] || [ " + QByteArray::number(run) + " -eq 0 ]; then\n" + shell
                     + "\nfi\n"
                       "exec '"
                     + QFile::encodeName(realAvrdude()) + "' \"$@\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("FUSEWRIGHT_REAL_AVRDUDE", QFile::encodeName(script.fileName()));
    }
    ~ToolHook() { qunsetenv("FUSEWRIGHT_REAL_AVRDUDE"); }

    int runs() const { return number(QStringLiteral("count")); }
    // The process id of the latest run.
    qint64 lastPid() const { return number(QStringLiteral("pid")); }

    // The shell that kills this very run (the exec'd avrdude) after `seconds`.
    static QByteArray killThisRunAfter(const char *seconds)
    {
        return QByteArray("(sleep ") + seconds + "; kill -KILL $$) </dev/null >/dev/null 2>&1 &";
    }

private:
    int number(const QString &name) const
    {
        QFile f(m_dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toInt() : 0;
    }

    QTemporaryDir m_dir;
};
