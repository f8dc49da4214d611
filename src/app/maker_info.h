#pragma once
// Who makes Fusewright and how to reach them: the web address shown on both
// windows, the page it opens, the maker's name and the author's mail address.

#include <QString>

inline QString makerWebAddress()
{
    return QStringLiteral("fusewright.org");
}
inline QString makerWebPage()
{
    return QStringLiteral("https://fusewright.org/");
}
inline QString makerName()
{
    return QStringLiteral("熔丝工坊");
}
inline QString authorMailAddress()
{
    return QStringLiteral("author@fusewright.org");
}
