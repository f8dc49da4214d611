#pragma once
// What real avrdude builds printed for the runs the tests replay
// (tests/data/avrdude-output); a test that reads them defines
// FW_RECORDED_OUTPUT as that folder.

#include <QFile>
#include <QString>

// The text of <folder>/<name>.out; a missing recording ends the test program.
inline QString recorded(const QString &name)
{
    QFile f(QStringLiteral(FW_RECORDED_OUTPUT "/") + name + QStringLiteral(".out"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing recording %s", qPrintable(f.fileName()));
    return QString::fromUtf8(f.readAll());
}
