#pragma once
// The command lines of the fuse read, the fuse write and the calibration
// read: the common prefix and fragments of the one grammar.

#include "exchange_files.h"
#include "fuse_panel_map.h"
#include "runner/tool_command.h"
#include "runner/tool_dialect.h"

#include <array>

// The byte runs of the fuse read, in run order: high fuse, low fuse, lock.
const std::array<fusepanel::FuseByte, 3> &fuseReadOrder();

// The tool's memory name: "hfuse", "lfuse" or "lock".
QString memoryName(fusepanel::FuseByte byte);

// prefix -U <memory>:r:"<exchange>":r, and " -F" on the high-fuse run, whose
// text is checked for the signature instead.
ToolCommand fuseReadCommand(const ToolCommand &prefix, fusepanel::FuseByte byte, const QString &exchangePath);

// prefix, the low fuse, high fuse and lock files written in raw format, and
// " -u" where the tool still has a safe mode to turn off.
ToolCommand fuseWriteCommand(const ToolCommand &prefix, const ExchangePaths &files, const ToolDialect &dialect);

// " -U calibration:r:"<exchange>":r"
CommandFragment calibrationFragment(const QString &exchangePath);
// prefix, the calibration fragment, " -F".
ToolCommand calibrationCommand(const ToolCommand &prefix, const CommandFragment &calibrationOp);
