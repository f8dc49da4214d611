#pragma once
// The user's own device names for port list texts, e.g. com1=/dev/ttyUSB0,
// kept in the INI file Fusewright/ports.ini of the user's configuration
// folder. A text without an entry keeps its default device name.

#include "platform.h"

class QSettings;

namespace platform {

PortOverrides readPortOverrides(QSettings &settings);
// Reads the user's ports.ini; empty when there is none.
PortOverrides userPortOverrides();

} // namespace platform
