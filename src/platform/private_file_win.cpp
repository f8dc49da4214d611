#include "private_file.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

// Windows gives a normal user no symbolic links; NewOnly still refuses to
// take over a file that is already there.
QString createPrivateFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.errorString();
    if (file.write(bytes) == bytes.size() && file.flush())
        return QString();
    const QString reason = file.errorString();
    file.close();
    file.remove();
    return reason;
}

PrivateRead readPrivateFile(const QString &path, int count)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isSymLink() || !info.isFile())
        return {QByteArray(), QStringLiteral("not a plain file")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QByteArray(), file.errorString()};
    return {file.read(qMax(count, 0)), QString()};
}

} // namespace platform
