#pragma once
// Small files that only this user may have made: the one-byte exchange files
// between the program and the tool. A file is always created anew, never
// through a link and never over a file already there; a read refuses a link
// and a file that belongs to someone else, so nobody can slip a byte in.

#include <QByteArray>
#include <QString>

namespace platform {

// Creates path (readable and writable by the user alone) holding bytes. On a
// failure nothing is left at path by this call and the system's reason comes
// back; empty on success. An entry already at path is a failure.
QString createPrivateFile(const QString &path, const QByteArray &bytes);

struct PrivateRead {
    QByteArray bytes; // up to the count asked for, from offset 0
    QString refusal;  // why the file was not read; empty when it was, or when it is absent
};

// Up to count bytes from the start of path. An absent file gives no bytes
// and no refusal.
PrivateRead readPrivateFile(const QString &path, int count);

} // namespace platform
