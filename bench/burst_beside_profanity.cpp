// A burst of --messages=10000 chat messages from one sender, as fast as slixmpp sends, to the
// whole program and to Profanity on one Prosody in one run, each logged in to a --roster=5000
// contact list. Printed: how many messages each showed (lines in the program's chat window,
// lines in Profanity's chat log) and how long each stalled: for the program, the longest gap
// between firings of a 10 ms timer on its user-interface thread; for Profanity, the longest
// wait from a key typed into its terminal to the terminal's next output (one every 100 ms).
// Options: --roster=N --messages=N --timeout=SECONDS (a load's limit, 600).
#include <cstdio>

#include "peers_bench_support.h"
#include "support/temp_home.h"

namespace {

void Row(const char* name, double orvik, double profanity, const char* format) {
  char a[32], b[32];
  std::snprintf(a, sizeof a, format, orvik);
  std::snprintf(b, sizeof b, format, profanity);
  std::printf("%-32s %12s %12s %8.2f\n", name, a, b, peers_bench::Ratio(orvik, profanity));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!InitDisplay(&argc, argv)) {
    std::fprintf(stderr, "burst_beside_profanity: cannot open the display\n");
    return 1;
  }
  int roster = peers_bench::Option(argc, argv, "roster", 5000);
  int messages = peers_bench::Option(argc, argv, "messages", 10000);
  int timeout = peers_bench::Option(argc, argv, "timeout", 600);
  TempHome home;
  e2e::TempDir dir;
  e2e::ProsodyServer server;
  if (!peers_bench::StartServer(server, roster, 1)) {
    std::fprintf(stderr, "burst_beside_profanity: Prosody did not start\n");
    return 1;
  }
  program_bench::SetFlag("SOUND SUPPORT", 0);
  MApp* app = program_bench::StartProgram(
      std::string(peers_bench::kHost) + "@127.0.0.1:" + std::to_string(server.c2s_port()), "alice");
  if (app == nullptr) {
    std::fprintf(stderr, "burst_beside_profanity: the program did not start\n");
    return 1;
  }
  peers_bench::OrvikFigures orvik =
      peers_bench::RunOrvik(app, server, dir, roster, 1, messages, timeout);
  if (orvik.loginSeconds < 0) {
    std::fprintf(stderr, "burst_beside_profanity: the program did not get its roster\n");
    return 1;
  }
  auto profanity = peers_bench::ProfanityLoad(server, dir, 1, messages, timeout);
  std::printf("\nburst of %d messages from one sender, %d-contact roster\n", messages, roster);
  std::printf("%-32s %12s %12s %8s\n", "", "orvik", "Profanity", "ratio");
  Row("messages received", orvik.received, profanity["received"], "%.0f");
  Row("messages received in (s)", orvik.receiveSeconds, profanity["receive_s"], "%.2f");
  Row("longest stall in the burst (ms)", orvik.burstStallMs, profanity["burst_stall_ms"], "%.1f");
  Row("login (s) [1]", orvik.loginSeconds, profanity["login_s"], "%.2f");
  Row("longest stall after login (ms)", orvik.loginStallMs, profanity["login_stall_ms"], "%.1f");
  if (orvik.received < messages)
    std::printf("orvik LOST %ld of %d messages\n", messages - orvik.received, messages);
  std::printf("[1] orvik: to the whole roster in its model; Profanity: to its login line\n");
  return 0;
}
