// CPU time of the whole receive path (receive loop, hand-off to the UI thread, parse buffer,
// Expat, stanza trees, packets, dispatch) per 10,000 incoming chat messages. A scripted peer
// in another process floods the connection, so only this process's work is counted.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "engine_bench_support.h"
#include "support/temp_home.h"
#include "xmpp/headless_host.h"

namespace {

constexpr int kMessages = 10000;
constexpr int kRounds = 5;

void ReceiveTenThousandMessages(benchmark::State& state) {
  TempHome home;
  e2e::TempDir dir;
  std::string port_file = dir / "port";
  e2e::ChildProcess flood;
  flood.Start({"/usr/bin/python3", e2e::SourceDir() + "/tests/peers/flood_server.py", port_file,
               std::to_string(kMessages), std::to_string(kRounds)},
              dir.path(), dir / "flood.log");
  for (int i = 0; i < 200 && !std::filesystem::exists(port_file); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  int port = std::atoi(e2e::ReadFile(port_file).c_str());
  HeadlessHost host;
  host.recordPackets = false;
  double cpu_total = 0;
  double wall_total = 0;
  int rounds = 0;
  for (auto _ : state) {
    int before = host.dispatched_count();
    double cpu_start = engine_bench::ProcessCpuMs();
    auto wall_start = std::chrono::steady_clock::now();
    host.StartLogin("flood.test@127.0.0.1", "alice", "secret", port, false);
    host.PumpUntil([&] { return host.dispatched_count() - before >= kMessages; }, 60000);
    double cpu = engine_bench::ProcessCpuMs() - cpu_start;
    double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_start)
            .count();
    state.SetIterationTime(cpu / 1000.0);
    cpu_total += cpu;
    wall_total += wall;
    ++rounds;
    host.Logout();
    host.WaitLoginThread(10000);
  }
  state.counters["cpu_ms_per_10k"] = cpu_total / rounds;
  state.counters["wall_ms_per_10k"] = wall_total / rounds;
  std::printf("receive path: %.1f ms CPU (%.1f ms wall) per %d chat messages\n", cpu_total / rounds,
              wall_total / rounds, kMessages);
}

BENCHMARK(ReceiveTenThousandMessages)
    ->UseManualTime()
    ->Iterations(kRounds)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
