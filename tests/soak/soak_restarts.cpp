// Server restarts with "LOGIN ON STARTUP" on: after each restart the log window should say
// "Connected." again within "CHECK CONNECTION PERIOD" + 2 s of the server accepting. A late
// login is counted; only a restart never followed by a login (within 30 s) fails the run, so
// a slow machine cannot fail it.
#include <cstdio>
#include <vector>

#include "soak_scenarios.h"

namespace soak {

int RunRestarts(const Params& params) {
  const int restarts = params.Int("restarts", 3);
  const int period = params.Int("period", 2000);
  World world;
  if (!world.server().Start() || !world.StartProgram(world.server().c2s_port(), period) ||
      !RunUntil([&] { return world.Connections() >= 1; }, 30)) {
    std::fprintf(stderr, "restarts: the program never logged in\n");
    return 1;
  }
  std::vector<double> delays;
  int late = 0, failures = 0;
  for (int i = 0; i < restarts; ++i) {
    int before = world.Connections();
    world.server().Stop();
    if (!world.server().Start()) {
      std::fprintf(stderr, "restarts: Prosody did not start again\n");
      return failures + 1;
    }
    double accepting = NowMs();
    bool inTime = RunUntil([&] { return world.Connections() > before; }, (period + 2000) / 1e3);
    if (inTime) {
      delays.push_back(NowMs() - accepting);
    } else if (RunUntil([&] { return world.Connections() > before; }, 30)) {
      ++late;
      delays.push_back(NowMs() - accepting);
    } else {
      ++failures;
      std::fprintf(stderr, "restarts: restart %d never followed by a login\n", i + 1);
    }
  }
  Spread spread = SpreadOf(delays);
  Figure("restarts", "restarts", restarts);
  Figure("restarts", "reconnect_min_ms", spread.min);
  Figure("restarts", "reconnect_median_ms", spread.median);
  Figure("restarts", "reconnect_max_ms", spread.max);
  Figure("restarts", "late", late);
  Figure("restarts", "failures", failures);
  return failures;
}

}  // namespace soak
