// Memory of the whole program beside Profanity with a big roster and many conversations, on one
// Prosody in one run. Each client logs in to an account with a --roster=5000 contact list;
// then --senders=50 contacts of it send --messages=1000 chat messages each, so the program
// holds 50 conversations of 1,000 lines. Printed: resident memory (VmRSS, VmHWM) after the
// login and after the messages, and the bytes one history line costs. The program runs in
// this process, as main() makes it (windows offscreen); Profanity runs in a terminal through
// bench/profanity_load.py. Goal: the program below Profanity after the messages.
// Options: --roster=N --senders=N --messages=N --timeout=SECONDS (a load's limit, 600).
#include <cstdio>

#include "peers_bench_support.h"
#include "support/temp_home.h"

namespace {

void Row(const char* name, double orvik, double profanity, const char* format = "%.0f") {
  char a[32], b[32];
  std::snprintf(a, sizeof a, format, orvik);
  std::snprintf(b, sizeof b, format, profanity);
  std::printf("%-34s %14s %14s %8.2f\n", name, a, b, peers_bench::Ratio(orvik, profanity));
}

double PerLine(long before_kib, long after_kib, long lines) {
  return lines > 0 ? static_cast<double>(after_kib - before_kib) * 1024.0 / lines : 0;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!InitDisplay(&argc, argv)) {
    std::fprintf(stderr, "memory_beside_profanity: cannot open the display\n");
    return 1;
  }
  int roster = peers_bench::Option(argc, argv, "roster", 5000);
  int senders = peers_bench::Option(argc, argv, "senders", 50);
  int messages = peers_bench::Option(argc, argv, "messages", 1000);
  int timeout = peers_bench::Option(argc, argv, "timeout", 600);
  TempHome home;
  e2e::TempDir dir;
  e2e::ProsodyServer server;
  if (!peers_bench::StartServer(server, roster, senders)) {
    std::fprintf(stderr, "memory_beside_profanity: Prosody did not start\n");
    return 1;
  }
  program_bench::SetFlag("SOUND SUPPORT", 0);
  MApp* app = program_bench::StartProgram(
      std::string(peers_bench::kHost) + "@127.0.0.1:" + std::to_string(server.c2s_port()), "alice");
  if (app == nullptr) {
    std::fprintf(stderr, "memory_beside_profanity: the program did not start\n");
    return 1;
  }
  peers_bench::OrvikFigures orvik =
      peers_bench::RunOrvik(app, server, dir, roster, senders, messages, timeout);
  if (orvik.loginSeconds < 0) {
    std::fprintf(stderr, "memory_beside_profanity: the program did not get its roster\n");
    return 1;
  }
  auto profanity = peers_bench::ProfanityLoad(server, dir, senders, messages, timeout);
  long lines = static_cast<long>(senders) * messages;
  std::printf("\nmemory with a %d-contact roster, %d senders x %d messages (%ld lines)\n", roster,
              senders, messages, lines);
  std::printf("%-34s %14s %14s %8s\n", "", "orvik", "Profanity", "ratio");
  Row("VmRSS after login (KiB)", orvik.rssLoginKib, profanity["rss_login_kib"]);
  Row("VmHWM after login (KiB)", orvik.hwmLoginKib, profanity["hwm_login_kib"]);
  Row("VmRSS after messages (KiB)", orvik.rssAfterKib, profanity["rss_after_kib"]);
  Row("VmHWM after messages (KiB)", orvik.hwmAfterKib, profanity["hwm_after_kib"]);
  Row("bytes per history line", PerLine(orvik.rssLoginKib, orvik.rssAfterKib, lines),
      PerLine(static_cast<long>(profanity["rss_login_kib"]),
              static_cast<long>(profanity["rss_after_kib"]), lines));
  Row("messages received", orvik.received, profanity["received"]);
  Row("login (s) [1]", orvik.loginSeconds, profanity["login_s"], "%.2f");
  Row("messages received in (s)", orvik.receiveSeconds, profanity["receive_s"], "%.2f");
  Row("longest stall in the messages (ms)", orvik.burstStallMs, profanity["burst_stall_ms"],
      "%.1f");
  std::printf("orvik conversations: %d\n", orvik.conversations);
  if (orvik.received < lines)
    std::printf("orvik showed %ld of %ld lines within %d s\n", orvik.received, lines, timeout);
  bool below = orvik.rssAfterKib < profanity["rss_after_kib"];
  std::printf("goal (orvik's VmRSS after the messages below Profanity's): %s\n",
              below ? "met" : "NOT met");
  std::printf("[1] orvik: to the whole roster in its model; Profanity: to its login line\n");
  return 0;
}
