// The soak scenarios the driver runs; each prints its figures and returns the number of
// failures it saw (0: the scenario passed).
#pragma once

#include "soak_world.h"

namespace soak {

// Server restarts with automatic login on: restarts=N period=MS.
int RunRestarts(const Params& params);
// The link cut and restored while chatting: cycles=N per_phase=N.
int RunLinkCuts(const Params& params);
// A chat flood and presence churn: seconds=N rate=N contacts=N.
int RunFlood(const Params& params);

}  // namespace soak
