#pragma once
// The fuse and calibration operations exchange bytes with the tool through
// files in the tools folder or, when that is not the user's to write, in a
// private folder of the user's; when neither can be written, the program says
// so once, as it starts, instead of failing later without a reason.

#include "app_environment.h"

#include <optional>

class QWidget;

// The message to show, or nothing when an exchange folder can be written.
std::optional<QString> toolsFolderProblem(const AppEnvironment &environment);
void reportUnwritableToolsFolder(const AppEnvironment &environment, QWidget *window);
