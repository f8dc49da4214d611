#include "exchange_files.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {
QString failureMessage(const QString &what, const QString &path, const QString &reason)
{
    return what + path + QStringLiteral("\r\n") + reason;
}

// Creates or truncates the file so that it holds exactly this byte.
QString writeOneByte(const QString &path, quint8 value)
{
    QFile file(path);
    const char byte = static_cast<char>(value);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failureMessage(QStringLiteral("无法写入文件："), path, file.errorString());
    if (file.write(&byte, 1) == 1 && file.flush())
        return QString();
    const QString problem = failureMessage(QStringLiteral("无法写入文件："), path, file.errorString());
    file.close();
    file.remove();   // a truncated file must not reach the tool
    return problem;
}

QString removeIfPresent(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    QFile file(path);
    if (file.remove())
        return QString();
    return failureMessage(QStringLiteral("无法删除文件："), path, file.errorString());
}
} // namespace

namespace {
// The exchange folder of the moment with its trailing separator.
QString exchangeFolderPrefix(const platform::PathRendering &rendering, const QString &programFolder)
{
    return platform::exchangeFolder(rendering, programFolder).path + rendering.separator;
}
} // namespace

QString readExchangePath(const platform::PathRendering &rendering, const QString &programFolder)
{
    return exchangeFolderPrefix(rendering, programFolder) + QStringLiteral("fuse.bin");
}

WriteExchangePaths writeExchangePaths(const platform::PathRendering &rendering, const QString &programFolder)
{
    const QString folder = exchangeFolderPrefix(rendering, programFolder);
    return {folder + QStringLiteral("lfuse.bin"), folder + QStringLiteral("hfuse.bin"),
            folder + QStringLiteral("lock.bin")};
}

QByteArray readLeadingBytes(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(count);
}

QString writeFuseExchangeFiles(const WriteExchangePaths &files, const FuseBytes &bytes)
{
    const std::pair<QString, quint8> order[] = {
        {files.lfuse, bytes.lfuse}, {files.hfuse, bytes.hfuse}, {files.lock, bytes.lock}};
    QStringList written;
    for (const auto &[path, value] : order) {
        const QString problem = writeOneByte(path, value);
        if (!problem.isEmpty()) {
            removeExchangeFiles(written);
            return problem;
        }
        written << path;
    }
    return QString();
}

QString removeExchangeFiles(const QStringList &paths)
{
    QString first;
    for (const QString &path : paths) {
        const QString problem = removeIfPresent(path);
        if (first.isEmpty())
            first = problem;
    }
    return first;
}
