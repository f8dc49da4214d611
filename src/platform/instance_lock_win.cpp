#include "instance_lock.h"

#include <iterator>

#include <windows.h>

namespace platform {

InstanceLock::InstanceLock(const QString &key)
    // A name in the session's own namespace; the key carries the user's name.
    : m_name(QStringLiteral("Local\\") + key)
{}

InstanceLock::~InstanceLock()
{
    release();
}

bool InstanceLock::tryAcquire()
{
    if (m_mutex)
        return true;
    // Windows removes the mutex with its last handle, when its holder ends,
    // crashed or not.
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t *>(m_name.utf16()));
    if (!mutex)
        return true; // no place for a lock: better to start than to refuse forever
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    m_mutex = mutex;
    return true;
}

void InstanceLock::release()
{
    if (!m_mutex)
        return;
    ::CloseHandle(m_mutex);
    m_mutex = nullptr;
}

QString InstanceLock::defaultKey()
{
    wchar_t user[256 + 1];
    DWORD size = DWORD(std::size(user));
    const QString name = ::GetUserNameW(user, &size) ? QString::fromWCharArray(user) : QString();
    // Backslashes would name a namespace of their own.
    return QStringLiteral("fusewright-") + QString(name).replace(QLatin1Char('\\'), QLatin1Char('_'));
}

} // namespace platform
