#include "soak_world.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/message_queue.h"
#include "support/registry_setting.h"
#include "xml/text_convert.h"

namespace soak {

Params::Params(int argc, char** argv) {
  for (int i = 0; i < argc; ++i) {
    std::string arg = argv[i];
    std::size_t equals = arg.find('=');
    if (equals != std::string::npos) {
      values_[arg.substr(0, equals)] = arg.substr(equals + 1);
    }
  }
}

int Params::Int(const std::string& name, int fallback) const {
  auto found = values_.find(name);
  return found == values_.end() ? fallback : std::atoi(found->second.c_str());
}

World::World() {
  server_.AddAccount("notls.test", "alice", "secret");
}

World::~World() {
  StopProgram();
  if (const char* keep = std::getenv("SOAK_DEBUG")) {
    std::system(("cp -r " + home_.path() + " " + keep).c_str());
  }
}

std::string World::Account(int port) const {
  return "notls.test@127.0.0.1:" + std::to_string(port);
}

bool World::StartProgram(int port, int checkPeriodMs) {
  SetRegistryText(kSettingsKey, "JABBERTR.SERVER", Account(port));
  SetRegistryText(kSettingsKey, "JABBERTR.USERNAME", "alice");
  SetRegistryText(kSettingsKey, "JABBERTR.PASSWORD", "secret");
  SetRegistryDword(kSettingsKey, "SetupWizard", 1);
  SetRegistryDword(kSettingsKey, "LOGIN ON STARTUP", 1);
  SetRegistryDword(kSettingsKey, "CHECK CONNECTION PERIOD", static_cast<DWORD>(checkPeriodMs));
  SetRegistryDword(kSettingsKey, "SOUND SUPPORT", 0);
  if (std::getenv("SOAK_DEBUG")) {
    SetRegistryDword(kSettingsKey, "DEBUG MODE", 1);
  }
  app_ = new MApp(reinterpret_cast<HINSTANCE>(std::uintptr_t{4242}), "");
  SetApp(app_);
  app_->SetRoutes(std::make_unique<MProgramRoutes>(app_));
  if (!app_->Initialise()) {
    return false;
  }
  routes().dispatcher().SetNotifier(nullptr);  // no bubbles: they would stack up for ever
  return true;
}

// The Exit command, then the quit message it leaves behind is taken off the queue. The
// application object lives on and stays the process's application, as in the program (so a
// leak check at exit sees it reachable, as it would in the program).
void World::StopProgram() {
  if (app_ == nullptr) {
    return;
  }
  app_->Exit();
  MSG message;
  while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  app_ = nullptr;
}

std::string World::Log() {
  return wide_to_utf8(app_->logWindow->GetContent()).c_str();
}

int World::Connections() {
  std::string log = Log();
  int count = 0;
  const std::string line = "<P>Connected.</P>";
  for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
    ++count;
  }
  return count;
}

double NowMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool RunUntil(const std::function<bool()>& done, double seconds) {
  double deadline = NowMs() + seconds * 1000;
  UINT_PTR tick = SetTimer(nullptr, 0, 20, nullptr);
  bool reached = done();
  while (!reached && NowMs() < deadline) {
    MSG message;
    if (GetMessage(&message, nullptr, 0, 0) <= 0) {
      break;
    }
    DispatchMessage(&message);
    reached = done();
  }
  KillTimer(nullptr, tick);
  return reached;
}

void RunFor(double seconds) {
  RunUntil([] { return false; }, seconds);
}

namespace {

struct Meter {
  UINT_PTR timer = 0;
  double start = 0;
  double last = 0;
  double longest = 0;
  double longestAt = 0;
  long stalls = 0;
  std::vector<double> stallEnds;  // ms from the start
};
Meter g_meter;

void MeterTick(HWND, UINT, UINT_PTR, DWORD) {
  double now = NowMs();
  double gap = now - g_meter.last;
  if (gap > g_meter.longest) {
    g_meter.longest = gap;
    g_meter.longestAt = now - g_meter.start;
  }
  if (gap > 100) {
    ++g_meter.stalls;
    g_meter.stallEnds.push_back(now - g_meter.start);
  }
  g_meter.last = now;
}

}  // namespace

StallMeter::StallMeter() {
  g_meter = Meter{};
  g_meter.start = g_meter.last = NowMs();
  g_meter.timer = SetTimer(nullptr, 0, 10, MeterTick);
}

StallMeter::~StallMeter() {
  KillTimer(nullptr, g_meter.timer);
}

double StallMeter::LongestMs() const {
  return g_meter.longest;
}

double StallMeter::LongestAtS() const {
  return g_meter.longestAt / 1000;
}

long StallMeter::Stalls() const {
  return g_meter.stalls;
}

long StallMeter::StallsAfter(double afterS) const {
  return std::count_if(g_meter.stallEnds.begin(), g_meter.stallEnds.end(),
                       [&](double end) { return end >= afterS * 1000; });
}

std::int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::int64_t size = 0, resident = 0;
  if (!(statm >> size >> resident)) {
    return 0;
  }
  return resident * 4096;
}

std::int64_t HeapBytes() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

Spread SpreadOf(std::vector<double> values) {
  Spread spread;
  if (values.empty()) {
    return spread;
  }
  std::sort(values.begin(), values.end());
  spread.min = values.front();
  spread.max = values.back();
  std::size_t middle = values.size() / 2;
  spread.median =
      values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
  return spread;
}

void Figure(const std::string& scenario, const std::string& name, const std::string& value) {
  std::printf("FIGURE %s %s %s\n", scenario.c_str(), name.c_str(), value.c_str());
  std::fflush(stdout);
}

void Figure(const std::string& scenario, const std::string& name, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f", value);
  Figure(scenario, name, std::string(text));
}

void Figure(const std::string& scenario, const std::string& name, int value) {
  Figure(scenario, name, std::to_string(value));
}

}  // namespace soak
