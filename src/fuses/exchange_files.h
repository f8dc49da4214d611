#pragma once
// The raw exchange files through which fuse, lock and calibration bytes pass
// between the program and the tool: bytes from offset 0, no header. They
// live in the exchange folder of the moment (the tools folder, or the user's
// private folder when the tools folder is not the user's to write). A failure
// comes back as the message to show: "无法写入文件：" or "无法删除文件：", the
// path, CR LF and the system's reason.

#include "fuse_bits.h"
#include "platform/exchange_folder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// <exchange folder>/fuse.bin: written by the tool, one byte per fuse read,
// four for the calibration read.
QString readExchangePath(const platform::PathRendering &rendering, const QString &programFolder);

// The three files the fuse write hands to the tool.
struct WriteExchangePaths {
    QString lfuse;   // <exchange folder>/lfuse.bin
    QString hfuse;   // <exchange folder>/hfuse.bin
    QString lock;    // <exchange folder>/lock.bin
};
WriteExchangePaths writeExchangePaths(const platform::PathRendering &rendering, const QString &programFolder);

// Up to count bytes from the start; empty when the file is absent or unreadable.
QByteArray readLeadingBytes(const QString &path, int count);

// Writes the low fuse, high fuse and lock files, each exactly one byte. On a
// failure the files already written are removed again and the message
// returned; empty on success.
QString writeFuseExchangeFiles(const WriteExchangePaths &files, const FuseBytes &bytes);

// Removes each file that exists (a dangling link included). Every path is
// tried; the message names the first that stayed. Empty when all are gone.
QString removeExchangeFiles(const QStringList &paths);
