#pragma once

// Routes SIGTERM, SIGINT and SIGHUP into a pipe that poll() can wait on.
// Returns the pipe's read end, or -1.
int installStopSignals();
