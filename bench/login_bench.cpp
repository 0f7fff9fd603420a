// Login to roster against a local Prosody whose account has a 5,000-item roster, in one run:
// the whole program (login control, engine, dispatcher, roster model, log window; offscreen),
// the engine alone, and a slixmpp client. All use the host without TLS, so the figures compare
// the clients, not the cipher. The ratios are printed at the end: engine / slixmpp (goal 0.5
// or less) and program / engine (goal 1.5 or less).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "e2e/prosody_server.h"
#include "engine_bench_support.h"
#include "program_bench_support.h"
#include "support/temp_home.h"
#include "xmpp/headless_host.h"

namespace {

constexpr int kRosterSize = 5000;

struct World {
  TempHome home;
  e2e::TempDir dir;
  e2e::ProsodyServer server;
  bool ready = false;
  World() {
    server.AddAccount("notls.test", "alice", "secret");
    server.AddRoster("notls.test", "alice", kRosterSize);
    ready = server.Start();
  }
};

World& world() {
  static World instance;
  return instance;
}

std::vector<double> g_program_ms;
std::vector<double> g_orvik_ms;
std::vector<double> g_slixmpp_ms;

void ProgramLoginToRoster(benchmark::State& state) {
  World& w = world();
  static MApp* app =
      w.ready ? program_bench::StartProgram(
                    "notls.test@127.0.0.1:" + std::to_string(w.server.c2s_port()), "alice")
              : nullptr;
  if (app == nullptr) {
    state.SkipWithError("Prosody or the program did not start");
    return;
  }
  MProgramRoutes& routes = program_bench::Routes(app);
  std::size_t contacts = 0;
  for (auto _ : state) {
    int before = routes.rosterLink().RosterResults();
    auto start = std::chrono::steady_clock::now();
    routes.Login(true);
    program_bench::Pump(
        [&] {
          return routes.rosterLink().RosterResults() > before ||
                 !routes.login().LoginThreadRunning();
        },
        60000);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(ms / 1000.0);
    contacts = app->roster->ListItems(u"").size();
    if (contacts != kRosterSize) {
      state.SkipWithError("the roster did not reach the model whole");
      break;
    }
    g_program_ms.push_back(ms);
    routes.LogOff();
    program_bench::Pump([&] { return !routes.login().LoginThreadRunning(); }, 10000);
    program_bench::Pump([] { return false; },
                        2000);  // the server's presence work after the login (below)
  }
  state.counters["contacts"] = static_cast<double>(contacts);
}

void OrvikLoginToRoster(benchmark::State& state) {
  World& w = world();
  if (!w.ready) {
    state.SkipWithError("Prosody did not start");
    return;
  }
  HeadlessHost host;
  for (auto _ : state) {
    int before = host.roster_results();
    auto start = std::chrono::steady_clock::now();
    host.StartLogin("notls.test@127.0.0.1", "alice", "secret", w.server.c2s_port(), false);
    host.PumpUntil([&] { return host.roster_results() > before || host.LoginThreadDone(); }, 60000);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(ms / 1000.0);
    if (host.roster_items() != kRosterSize) {
      state.SkipWithError("the roster did not arrive whole");
      break;
    }
    g_orvik_ms.push_back(ms);
    host.Logout();
    host.WaitLoginThread(10000);
    // After the roster the engine announces its presence, and the server then probes and
    // notifies all 5,000 contacts (slixmpp's timer sends no presence). Let that work finish
    // before the next login, so every login meets an idle server.
    host.PumpFor(2000);
  }
  state.counters["roster_items"] = host.roster_items();
}

void SlixmppLoginToRoster(benchmark::State& state) {
  World& w = world();
  if (!w.ready) {
    state.SkipWithError("Prosody did not start");
    return;
  }
  for (auto _ : state) {
    // The client times itself from its connect call to the roster result (the interpreter's
    // start is not counted).
    std::vector<double> times = engine_bench::Numbers(engine_bench::RunPeer(
        "login_timer.py",
        {"alice@notls.test", "secret", "127.0.0.1", std::to_string(w.server.c2s_port()), "1"},
        w.dir));
    if (times.empty() || times[0] < 0) {
      state.SkipWithError("slixmpp did not log in");
      break;
    }
    state.SetIterationTime(times[0] / 1000.0);
    g_slixmpp_ms.push_back(times[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
}

BENCHMARK(ProgramLoginToRoster)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(OrvikLoginToRoster)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(SlixmppLoginToRoster)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!InitDisplay(&argc, argv)) {
    std::fprintf(stderr, "login_bench: cannot open the display\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  double program = engine_bench::Mean(g_program_ms);
  double orvik = engine_bench::Mean(g_orvik_ms);
  double slixmpp = engine_bench::Mean(g_slixmpp_ms);
  if (orvik > 0 && slixmpp > 0)
    std::printf("login to %d-item roster: orvik engine %.1f ms, slixmpp %.1f ms, ratio %.3f\n",
                kRosterSize, orvik, slixmpp, orvik / slixmpp);
  if (program > 0 && orvik > 0)
    std::printf(
        "login to %d-item roster: whole program %.1f ms, engine alone %.1f ms, ratio %.3f\n",
        kRosterSize, program, orvik, program / orvik);
  return 0;
}
