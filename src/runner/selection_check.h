#pragma once
// Before anything is built, an operation makes sure the user has chosen a
// device, a programmer and a port, and names the first one missing.

#include "command_grammar.h"

#include <optional>

// The two sets of wordings in use: the fuse, calibration and reset buttons
// speak of a "notice", the Flash and EEPROM buttons of an "error".
enum class SelectionWording { Notice, Error };

struct SelectionProblem {
    QString text;
    QString title;
};

std::optional<SelectionProblem> checkSelections(const Selections &selections, SelectionWording wording);
