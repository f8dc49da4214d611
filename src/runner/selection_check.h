#pragma once
// Before anything is built, an operation makes sure the user has chosen a
// device, a programmer and a port, and names the first one missing.

#include "command_grammar.h"

#include <optional>

// The two sets of wordings in use: the fuse, calibration and reset buttons
// speak of a "notice", the Flash and EEPROM buttons of an "error".
enum class SelectionWording { Notice, Error };

enum class MissingSelection { Device, Programmer, Port };

// The first of device, programmer and port that is empty; only the empty
// text means "not chosen".
std::optional<MissingSelection> checkSelections(const Selections &selections);
