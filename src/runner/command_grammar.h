#pragma once
// The one grammar every avrdude command line is built from: a prefix naming
// the tool, the part, the configuration, the programmer and the port, then
// fragments that each start with their own blank.

#include "platform/platform.h"
#include "tool_command.h"

struct Selections {
    QString part;       // avrdude part id, "m8" or "m16"
    QString programmer; // programmer list text, e.g. "usbasp"
    QString port;       // port list text, e.g. "com1" or "usb"
};

namespace grammar {

// <folder>\tools\avrdude.exe -p <part> -C <folder>\tools\avrdude.conf -c <programmer> -P <port>
ToolCommand commandPrefix(const platform::PathRendering &rendering, const QString &programFolder,
                          const Selections &selections);

CommandFragment resetExitFlag(); // " -E reset"
CommandFragment forceFlag();     // " -F"
CommandFragment unsafeFlag();    // " -u"
CommandFragment verboseFlag();   // " -v"

// " -U <memory>:<operation>:"<path>":<format>" with an optional trailing blank.
// The argument word carries the path whole, without the quotation marks.
CommandFragment memoryFragment(const QString &memory, QChar operation, const QString &path, QChar format,
                               bool trailingBlank);

} // namespace grammar
