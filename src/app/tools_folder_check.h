#pragma once
// The fuse and calibration operations exchange bytes with the tool through
// files in the tools folder; when the user cannot write there, the program
// says so once, as it starts, instead of failing later without a reason.

#include "app_environment.h"

#include <optional>

class QWidget;

// The message to show, or nothing when the tools folder is writable.
std::optional<QString> toolsFolderProblem(const AppEnvironment &environment);
void reportUnwritableToolsFolder(const AppEnvironment &environment, QWidget *window);
