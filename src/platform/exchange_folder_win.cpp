#include "exchange_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <windows.h>

namespace platform {

namespace {
const wchar_t *wide(const QString &s)
{
    return reinterpret_cast<const wchar_t *>(s.utf16());
}

// A real folder, not a junction or a link leading somewhere else.
bool isPlainFolder(const QString &folder)
{
    const DWORD attributes = ::GetFileAttributesW(wide(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
           && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Only creating a file tells whether the access rights allow it: the
// read-only attribute, which is all Qt's writability test reads, says nothing
// about a folder in Program Files. The probe goes when its handle closes.
bool canCreateFilesIn(const QString &folder)
{
    if (!isPlainFolder(folder))
        return false;
    const QString probe =
        folder + QStringLiteral("\\.fusewright-probe-") + QString::number(QCoreApplication::applicationPid());
    const HANDLE file =
        ::CreateFileW(wide(probe), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

// %LOCALAPPDATA%\Fusewright, created when absent; the user's local profile
// folder keeps other users out of it.
QString userFolder(const PathRendering &r)
{
    const QString base =
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (base.isEmpty())
        return QString();
    const QString folder = base + r.separator + QStringLiteral("Fusewright");
    ::CreateDirectoryW(wide(folder), nullptr);
    return canCreateFilesIn(folder) ? folder : QString();
}
} // namespace

ExchangeFolder exchangeFolder(const PathRendering &r, const QString &programFolder)
{
    const QString tools = toolsFolder(r, programFolder);
    if (canCreateFilesIn(tools))
        return {tools, true};
    const QString folder = userFolder(r);
    if (folder.isEmpty())
        return {tools, false};
    return {folder, true};
}

} // namespace platform
