// Incoming message to pixels in the whole program, offscreen: a slixmpp peer sends 1,000 chat
// messages whose bodies carry their send time; the conversation is open and in view, so each
// message is appended and the chat window repainted (synchronously) while the program handles
// it. The latency of a message is the time from its send to the end of the message loop turn
// that painted it. Goals: p50 under 10 ms, p99 under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/prosody_server.h"
#include "engine_bench_support.h"
#include "program_bench_support.h"
#include "support/temp_home.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"

namespace {

constexpr int kMessages = 1000;

// The send times (ns) in "t=<ns>" bodies of the history from `from` on.
std::vector<long long> SendTimes(const std::u16string& history) {
  std::vector<long long> times;
  std::string text = wide_to_utf8(wmstring(history.c_str())).c_str();
  for (std::size_t at = text.find("t="); at != std::string::npos; at = text.find("t=", at + 2)) {
    times.push_back(std::atoll(text.c_str() + at + 2));
  }
  return times;
}

void IncomingMessageToPixels(benchmark::State& state) {
  TempHome home;
  e2e::TempDir dir;
  e2e::ProsodyServer server;
  server.AddAccount("notls.test", "alice", "secret");
  server.AddAccount("notls.test", "bob", "secret");
  MApp* app = nullptr;
  if (server.Start()) {
    program_bench::SetFlag("SOUND SUPPORT", 0);
    app = program_bench::StartProgram("notls.test@127.0.0.1:" + std::to_string(server.c2s_port()),
                                      "alice");
  }
  if (app == nullptr) {
    state.SkipWithError("Prosody or the program did not start");
    return;
  }
  MProgramRoutes& routes = program_bench::Routes(app);
  routes.Login(true);
  program_bench::Pump([&] { return routes.rosterLink().RosterResults() > 0; }, 20000);
  // The conversation is open, current and shown before the first message.
  ChatRecord* record = routes.conversations().ShowConversation("bob@notls.test", "");
  std::vector<double> latencies;
  for (auto _ : state) {
    std::size_t seen = record->HistoryLength();
    e2e::ChildProcess peer;
    peer.Start({"/usr/bin/python3", e2e::SourceDir() + "/tests/peers/chat_sender.py",
                "bob@notls.test", "secret", "127.0.0.1", std::to_string(server.c2s_port()),
                "alice@notls.test", std::to_string(kMessages), "2"},
               dir.path(), dir / "sender.log");
    program_bench::Pump([&] { return latencies.size() >= static_cast<std::size_t>(kMessages); },
                        120000,
                        [&] {
                          if (record->HistoryLength() == seen) {
                            return;
                          }
                          long long now = engine_bench::RealtimeNs();
                          for (long long sent : SendTimes(record->HistoryFrom(seen))) {
                            latencies.push_back(static_cast<double>(now - sent) / 1e6);
                          }
                          seen = record->HistoryLength();
                        });
    peer.Wait();
  }
  double p50 = engine_bench::Percentile(latencies, 0.50);
  double p99 = engine_bench::Percentile(latencies, 0.99);
  state.counters["messages"] = static_cast<double>(latencies.size());
  state.counters["p50_ms"] = p50;
  state.counters["p99_ms"] = p99;
  state.counters["max_ms"] = engine_bench::Percentile(latencies, 1.0);
  std::printf("incoming message to pixels over %zu messages: p50 %.3f ms, p99 %.3f ms\n",
              latencies.size(), p50, p99);
  routes.LogOff();
  program_bench::Pump([&] { return !routes.login().LoginThreadRunning(); }, 10000);
}

BENCHMARK(IncomingMessageToPixels)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!InitDisplay(&argc, argv)) {
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
