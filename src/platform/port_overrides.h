#pragma once
// The user's own device names for port list texts, e.g. com1=/dev/ttyUSB0,
// kept in the INI file Fusewright/ports.ini of the user's configuration
// folder. A text without an entry keeps its default device name.

#include "platform.h"

#include <QByteArray>

namespace platform {

// The entries of the file's top level (or its [General] section), each value
// as typed: blanks around it dropped, a value in double quotes taken between
// them (a comma or semicolon inside), otherwise up to a ';' comment. Values
// are never read as Qt's serialised objects ("@Variant(…)"); lines starting
// with ';' or '#' are comments; empty values count as none.
PortOverrides readPortOverrides(const QByteArray &iniText);
// Reads the user's ports.ini; empty when there is none.
PortOverrides userPortOverrides();

} // namespace platform
