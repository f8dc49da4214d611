#include "exchange_folder.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
const QString ownName = QStringLiteral("fusewright");

bool canWriteInto(const QByteArray &folder)
{
    return ::access(folder.constData(), W_OK | X_OK) == 0;
}

// Anyone else who may write into the tools folder (its group included) could
// swap an exchange file between the program's write and the tool's read.
bool onlyTheUserWritesInto(const QString &tools)
{
    const QByteArray path = QFile::encodeName(tools);
    struct stat info = {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
           && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && canWriteInto(path);
}

// The session's runtime folder, when it is a folder of this user's.
QString runtimeBase()
{
    const QString base = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    struct stat info = {};
    if (!base.startsWith(QLatin1Char('/')) || ::stat(QFile::encodeName(base).constData(), &info) != 0
        || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return QString();
    return base;
}

// The user's cache folder, made (0700) when the home folder has none yet.
QString cacheBase()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!base.startsWith(QLatin1Char('/')))
        return QString();
    ::mkdir(QFile::encodeName(base).constData(), 0700);
    return base;
}

// <base>/fusewright, made 0700 when absent. One that exists must be a real
// folder of this user's; it is closed to everyone else before it is used.
QString privateFolder(const QString &base)
{
    if (base.isEmpty())
        return QString();
    const QString folder = base + QLatin1Char('/') + ownName;
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return QString();
    if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return QString();
    return canWriteInto(path) ? folder : QString();
}
} // namespace

ExchangeFolder exchangeFolder(const PathRendering &r, const QString &programFolder)
{
    const QString tools = toolsFolder(r, programFolder);
    if (onlyTheUserWritesInto(tools))
        return {tools, true};
    QString folder = privateFolder(runtimeBase());
    if (folder.isEmpty())
        folder = privateFolder(cacheBase());
    if (folder.isEmpty())
        return {tools, false};
    return {folder, true};
}

} // namespace platform
