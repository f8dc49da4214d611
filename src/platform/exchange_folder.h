#pragma once
// Where the fuse, lock and calibration bytes pass between the program and the
// tool. The tools folder serves while nobody but the user (neither the
// folder's group nor anyone else) may write into it; otherwise, as for a
// program installed for everyone, a private folder per user serves instead.

#include "platform.h"

#include <QString>

namespace platform {

struct ExchangeFolder {
    QString path;          // without a trailing separator
    bool writable = false; // false: neither the tools folder nor a private folder can be written
};

// Asked afresh by every operation; a private folder is created (mode 0700)
// when it is first needed. Where no folder can be written the answer is the
// tools folder, so the operation's own failure names it. On Windows the
// tools folder serves where a file can be created in it, else
// %LOCALAPPDATA%\Fusewright.
ExchangeFolder exchangeFolder(const PathRendering &r, const QString &programFolder);

} // namespace platform
