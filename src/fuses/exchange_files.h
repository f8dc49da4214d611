#pragma once
// The raw exchange files in the tools folder through which fuse, lock and
// calibration bytes pass between the program and the tool: bytes from
// offset 0, no header. Failures come back with the system's reason text.

#include "platform/platform.h"

#include <QByteArray>
#include <QString>

// <folder>/tools/fuse.bin: written by the tool, one byte per fuse read, four
// for the calibration read.
QString readExchangePath(const platform::PathRendering &rendering, const QString &programFolder);

// The three files the fuse write hands to the tool.
struct WriteExchangePaths {
    QString lfuse;   // <folder>/tools/lfuse.bin
    QString hfuse;   // <folder>/tools/hfuse.bin
    QString lock;    // <folder>/tools/lock.bin
};
WriteExchangePaths writeExchangePaths(const platform::PathRendering &rendering, const QString &programFolder);

// Up to count bytes from the start; empty when the file is absent or unreadable.
QByteArray readLeadingBytes(const QString &path, int count);

// Creates or truncates the file so that it holds exactly this byte.
bool writeOneByte(const QString &path, quint8 value, QString *reason);

// True when the file is gone afterwards (an absent file counts as removed).
bool removeIfPresent(const QString &path, QString *reason);

// "无法写入文件：" / "无法删除文件：", the path, CR LF, the reason.
QString cannotWriteMessage(const QString &path, const QString &reason);
QString cannotRemoveMessage(const QString &path, const QString &reason);
