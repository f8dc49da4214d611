#pragma once
// The command fragments of a Flash or EEPROM transfer between the chip and an
// image file, and the texts around them. The image itself is only ever read
// and written by the tool.

#include "runner/tool_command.h"

#include <QString>

enum class TransferDirection { Program, Read };

enum class MemoryKind { Flash, Eeprom };
// The tool's name for the memory: "flash" or "eeprom".
QString memoryName(MemoryKind kind);

// The file dialog's choices: Intel HEX or raw binary.
QString imageFileFilter();

// The name ends in ".hex", in any case: the user means an Intel HEX file.
bool namedAsIntelHex(const QString &imagePath);

// A program lets the tool detect the format ('a'); a read names it: 'i'
// (Intel HEX) for a name ending in ".hex" in any case, else 'r' (raw).
QChar transferFormatLetter(TransferDirection direction, const QString &imagePath);

// " -U <memory>:w:"<path>":a " or " -U <memory>:r:"<path>":<i|r> ".
CommandFragment transferFragment(MemoryKind kind, TransferDirection direction, const QString &imagePath);
// " -U <memory>:v:"<path>":<letter> ", with the transfer's own format letter:
// the tool must read the file in the format it is in.
CommandFragment verifyFragment(MemoryKind kind, TransferDirection direction, const QString &imagePath);
