#include "exchange_files.h"

#include "platform/exchange_folder.h"
#include "platform/private_file.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

using Kind = OperationProblem::Kind;

namespace {
OperationProblem removeIfPresent(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    QFile file(path);
    if (file.remove())
        return {};
    return OperationProblem::of(Kind::FileNotRemoved, path, file.errorString());
}
} // namespace

ExchangePaths exchangePaths(const platform::PathRendering &rendering, const QString &programFolder)
{
    const QString folder = platform::exchangeFolder(rendering, programFolder).path + rendering.separator;
    return {folder + QStringLiteral("fuse.bin"), folder + QStringLiteral("lfuse.bin"),
            folder + QStringLiteral("hfuse.bin"), folder + QStringLiteral("lock.bin")};
}

ExchangeBytes readExchangeFile(const QString &path, int count)
{
    const platform::PrivateRead read = platform::readPrivateFile(path, count);
    if (!read.refusal.isEmpty())
        return {QByteArray(), OperationProblem::of(Kind::FileNotRead, path, read.refusal)};
    return {read.bytes, {}};
}

OperationProblem writeFuseExchangeFiles(const ExchangePaths &paths, const FuseBytes &bytes)
{
    const std::pair<QString, quint8> order[] = {
        {paths.lfuse, bytes.lfuse}, {paths.hfuse, bytes.hfuse}, {paths.lock, bytes.lock}};
    QStringList written;
    for (const auto &[path, value] : order) {
        // A leftover entry (a link included) goes first; the file is then made anew.
        OperationProblem problem = removeIfPresent(path);
        if (problem.isNone()) {
            const QString reason = platform::createPrivateFile(path, QByteArray(1, static_cast<char>(value)));
            if (!reason.isEmpty())
                problem = OperationProblem::of(Kind::FileNotWritten, path, reason);
        }
        if (!problem.isNone()) {
            removeExchangeFiles(written);
            return problem;
        }
        written << path;
    }
    return {};
}

OperationProblem removeExchangeFiles(const QStringList &paths)
{
    OperationProblem first;
    for (const QString &path : paths) {
        const OperationProblem problem = removeIfPresent(path);
        if (first.isNone())
            first = problem;
    }
    return first;
}
