#pragma once
// What the test process itself holds: open descriptors and children.

#include <QDir>
#include <QStringList>

#include <cerrno>
#include <sys/wait.h>

namespace fw_test {

// Entries of /proc/self/fd, less the one QDir opens to list them.
inline int openDescriptorCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size()) - 1;
}

enum class Children { None, Running, Zombie };

// Looks without collecting anything, so a zombie stays visible.
inline Children childState()
{
    siginfo_t info{};
    if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno == ECHILD ? Children::None : Children::Running;
    return info.si_pid == 0 ? Children::Running : Children::Zombie;
}

inline const char *describe(Children c)
{
    switch (c) {
    case Children::None:
        return "none";
    case Children::Running:
        return "running";
    case Children::Zombie:
        return "zombie";
    }
    return "?";
}

} // namespace fw_test
