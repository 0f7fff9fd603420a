// Login to roster against a local Prosody whose account has a 5,000-item roster: orvik's
// engine beside a slixmpp client logging into the same server in the same run. Both use the
// host without TLS, so the figures compare the clients, not the cipher. The ratio (orvik
// mean / slixmpp mean) is printed at the end; the goal is 0.5 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "e2e/prosody_server.h"
#include "engine_bench_support.h"
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

std::vector<double> g_orvik_ms;
std::vector<double> g_slixmpp_ms;

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

BENCHMARK(OrvikLoginToRoster)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(SlixmppLoginToRoster)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  double orvik = engine_bench::Mean(g_orvik_ms);
  double slixmpp = engine_bench::Mean(g_slixmpp_ms);
  if (orvik > 0 && slixmpp > 0)
    std::printf("login to %d-item roster: orvik %.1f ms, slixmpp %.1f ms, ratio %.3f\n",
                kRosterSize, orvik, slixmpp, orvik / slixmpp);
  return 0;
}
