#pragma once
// What the installed avrdude speaks. Its major version decides three things:
// whether a matching chip's signature line needs " -v" to be printed, how the
// forced high-fuse run is judged, and whether the fuse write may carry " -u".
//
//   6.x  prints the signature line always; " -u" turns its safe mode off.
//   7.x  prints it always; it has no safe mode and reports " -u" as an error.
//   8.x  prints it only with -v, or when the signature is wrong, all zero or
//        all 0xFF; it rejects " -u" with its usage text and exit code 0.

#include "platform/platform.h"
#include "tool_command.h"

#include <optional>

struct ToolDialect {
    int major = 7;
    int minor = 0;

    // What is assumed when the tool's version cannot be read: the 7.x that
    // Debian ships. The operation's own run then shows what the tool says.
    static ToolDialect assumed() { return ToolDialect{}; }

    // Appended to " -E reset" on the signature probe.
    CommandFragment probeSuffix() const;
    // True when a run with -F that exits with 0 and prints no signature line
    // has met the chosen chip.
    bool silentOnMatchingSignature() const { return major >= 8; }
    // True when the fuse write carries " -u".
    bool hasSafeMode() const { return major < 7; }
};

// "<tools>/avrdude -?": the usage text, whose last line names the version.
ToolCommand dialectQueryCommand(const platform::PathRendering &rendering, const QString &programFolder);

// major.minor from the last "version X.Y" of the tool's usage text; nothing
// when the text names no version.
std::optional<ToolDialect> dialectFromUsage(const QString &usageText);
