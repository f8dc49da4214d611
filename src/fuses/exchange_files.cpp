#include "exchange_files.h"

#include <QFile>
#include <QFileInfo>

QString readExchangePath(const platform::PathRendering &rendering, const QString &programFolder)
{
    return platform::toolsPath(rendering, programFolder, QStringLiteral("fuse.bin"));
}

WriteExchangePaths writeExchangePaths(const platform::PathRendering &rendering, const QString &programFolder)
{
    return {platform::toolsPath(rendering, programFolder, QStringLiteral("lfuse.bin")),
            platform::toolsPath(rendering, programFolder, QStringLiteral("hfuse.bin")),
            platform::toolsPath(rendering, programFolder, QStringLiteral("lock.bin"))};
}

QByteArray readLeadingBytes(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(count);
}

bool writeOneByte(const QString &path, quint8 value, QString *reason)
{
    QFile file(path);
    const char byte = static_cast<char>(value);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(&byte, 1) == 1 && file.flush())
        return true;
    *reason = file.errorString();
    return false;
}

bool removeIfPresent(const QString &path, QString *reason)
{
    // A dangling link is still an entry to remove.
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
        return true;
    QFile file(path);
    if (file.remove())
        return true;
    *reason = file.errorString();
    return false;
}

QString cannotWriteMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("无法写入文件：") + path + QStringLiteral("\r\n") + reason;
}

QString cannotRemoveMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("无法删除文件：") + path + QStringLiteral("\r\n") + reason;
}
