// The running simulator: its sockets, reply timers and flood under one
// poll() loop.
#pragma once

#include "tools/camsim/options.h"

namespace camsim {

// Runs until a signal, --max-seconds or --once ends it; returns the exit
// status (0, or 1/2 when the sockets or the log file cannot be set up).
int RunSimulator(const CamsimOptions& options);

}  // namespace camsim
