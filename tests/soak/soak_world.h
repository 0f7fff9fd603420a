// What every soak scenario shares: a fresh profile, a Prosody with the user's account, the
// program made as main() makes it (windows offscreen, this thread is its user-interface
// thread), a message loop that runs until a condition holds, and the figures a scenario
// prints.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/program_routes.h"
#include "e2e/prosody_server.h"
#include "support/temp_home.h"

namespace soak {

// The scenario's parameters from "name=value" arguments; a missing one takes its default.
class Params {
 public:
  Params(int argc, char** argv);
  int Int(const std::string& name, int fallback) const;

 private:
  std::map<std::string, std::string> values_;
};

// The program's user "alice"/"secret" on notls.test (no TLS: the relay and the figures see
// plain XMPP).
class World {
 public:
  World();
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  e2e::ProsodyServer& server() { return server_; }
  e2e::TempDir& dir() { return dir_; }
  // The account's server text for port `port` (the relay's, or the server's own).
  std::string Account(int port) const;
  // Starts the program with automatic login on; false when it could not start.
  bool StartProgram(int port, int checkPeriodMs);
  void StopProgram();
  MApp* app() { return app_; }
  MProgramRoutes& routes() { return static_cast<MProgramRoutes&>(app_->routes()); }
  std::string Log();
  // Lines "<P>Connected.</P>" in the log window so far.
  int Connections();

 private:
  TempHome home_;
  e2e::TempDir dir_;
  e2e::ProsodyServer server_;
  MApp* app_ = nullptr;
};

// Runs the program's message loop until `done` holds; false when `seconds` passed first.
bool RunUntil(const std::function<bool()>& done, double seconds);
// Runs the message loop for `seconds`.
void RunFor(double seconds);
double NowMs();

// The longest gap between two ticks of a 10 ms timer on the user-interface thread: how long
// the window stayed unresponsive at worst while the meter ran.
class StallMeter {
 public:
  StallMeter();
  ~StallMeter();
  double LongestMs() const;
  // Seconds from the meter's start to the end of the longest gap.
  double LongestAtS() const;
  // Gaps longer than 100 ms, and those of them that ended `afterS` seconds or later after the
  // start (whether stalls grow with the history).
  long Stalls() const;
  long StallsAfter(double afterS) const;
};

// The process's resident set size in bytes (0 when /proc cannot be read).
std::int64_t ResidentBytes();
// The heap in use in every arena (what malloc handed out and was not freed), bytes.
std::int64_t HeapBytes();

// Minimum, median and maximum of `values` (zeros when empty).
struct Spread {
  double min = 0, median = 0, max = 0;
};
Spread SpreadOf(std::vector<double> values);

// One figure of the soak table: "FIGURE <scenario> <name> <value>" on standard output.
void Figure(const std::string& scenario, const std::string& name, const std::string& value);
void Figure(const std::string& scenario, const std::string& name, double value);
void Figure(const std::string& scenario, const std::string& name, int value);

}  // namespace soak
