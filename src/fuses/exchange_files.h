#pragma once
// The raw exchange files through which fuse, lock and calibration bytes pass
// between the program and the tool: bytes from offset 0, no header. They
// live in the exchange folder of the moment (the tools folder, or the user's
// private folder when anyone else may write into the tools folder), taken
// once per operation. The program creates its files anew and reads back only
// a plain file of the user's own: a link planted under one of these names is
// removed or refused, never followed.

#include "fuse_bits.h"
#include "platform/platform.h"
#include "runner/operation_problem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ExchangePaths {
    QString read;  // <exchange folder>/fuse.bin: written by the tool, one byte per fuse run, four for calibration
    QString lfuse; // <exchange folder>/lfuse.bin, hfuse.bin, lock.bin: handed to the tool by the fuse write
    QString hfuse;
    QString lock;
};
ExchangePaths exchangePaths(const platform::PathRendering &rendering, const QString &programFolder);

struct ExchangeBytes {
    QByteArray bytes;         // up to the count asked for; none when the file is absent
    OperationProblem problem; // FileNotRead for a link, a stranger's file or a read error
};
ExchangeBytes readExchangeFile(const QString &path, int count);

// Creates the low fuse, high fuse and lock files anew, each exactly one
// byte. On a failure the files already written are removed again.
OperationProblem writeFuseExchangeFiles(const ExchangePaths &paths, const FuseBytes &bytes);

// Removes each entry that exists (a link itself, never what it points at).
// Every path is tried; the problem names the first that stayed.
OperationProblem removeExchangeFiles(const QStringList &paths);
