// The soak driver: the program made as main() makes it, offscreen, in this process, put
// through one scenario against a real Prosody and slixmpp peers. scripts/soak runs it.
//
// Usage: soak_driver restarts|link|flood [name=value ...]
// Prints "FIGURE <scenario> <name> <value>" lines; exits 0 when the scenario saw no failure.
// With SOAK_DEBUG=<folder> the program runs in debug mode and its profile (the debug log
// with every stanza) is copied to <folder> at the end, to see what went wrong.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/window.h"
#include "soak_scenarios.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc < 2 || !InitDisplay(&argc, argv)) {
    std::fprintf(stderr, "usage: soak_driver restarts|link|flood [name=value ...]\n");
    return 2;
  }
  soak::Params params(argc - 2, argv + 2);
  const char* scenario = argv[1];
  int failures;
  if (std::strcmp(scenario, "restarts") == 0) {
    failures = soak::RunRestarts(params);
  } else if (std::strcmp(scenario, "link") == 0) {
    failures = soak::RunLinkCuts(params);
  } else if (std::strcmp(scenario, "flood") == 0) {
    failures = soak::RunFlood(params);
  } else {
    std::fprintf(stderr, "soak_driver: unknown scenario %s\n", scenario);
    return 2;
  }
  return failures == 0 ? 0 : 1;
}
