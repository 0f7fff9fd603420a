// A flood: a peer sends `rate` chat messages a second into one conversation, which is open and
// in view, while the presences of `contacts` contacts keep changing. Measured: the longest
// stall of the user-interface thread, the resident memory and the heap before and after, and
// how much of their growth the stored history explains: the conversation's text and the chat
// view's copy of it with its layout.
#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/conversations.h"
#include "soak_scenarios.h"
#include "ui/chat_record.h"
#include "ui/chat_wnd.h"

namespace soak {
namespace {

const char* kChurnDomain = "churn.notls.test";

int Occurrences(const std::u16string& text, const std::u16string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

bool Printed(const std::string& file, const std::string& word) {
  return e2e::ReadFile(file).find(word) != std::string::npos;
}

}  // namespace

int RunFlood(const Params& params) {
  const int seconds = params.Int("seconds", 20);
  const int rate = params.Int("rate", 100);
  const int contacts = params.Int("contacts", 500);
  World world;
  e2e::ProsodyServer& server = world.server();
  server.AddAccount("notls.test", "bob", "secret");
  server.AddRoster("notls.test", "alice", contacts, kChurnDomain);
  server.AddComponent(kChurnDomain, "churn-secret");
  if (!server.Start() || !world.StartProgram(server.c2s_port(), 2000) ||
      !RunUntil([&] { return world.routes().rosterLink().RosterResults() > 0; }, 60)) {
    std::fprintf(stderr, "flood: the program never got its contacts\n");
    return 1;
  }
  ChatRecord* record = world.routes().conversations().ShowConversation("bob@notls.test", "");
  RunFor(2);  // the roster window and the conversation settle before the baseline
  std::int64_t rssStart = ResidentBytes(), heapStart = HeapBytes();
  std::size_t historyStart = record->HistoryLength();
  std::size_t viewStart = world.app()->chatWindow->HeldBytes();

  std::string peers = e2e::SourceDir() + "/tests/peers/";
  std::string floodLog = world.dir() / "flood.out", churnLog = world.dir() / "churn.out";
  e2e::ChildProcess churn, flood;
  churn.Start({"/usr/bin/python3", peers + "presence_churn.py", kChurnDomain, "churn-secret",
               "127.0.0.1", std::to_string(server.component_port()), "alice@notls.test/orvik",
               std::to_string(contacts), std::to_string(contacts / 5), std::to_string(seconds)},
              world.dir().path(), churnLog);
  flood.Start({"/usr/bin/python3", peers + "chat_flood.py", "bob@notls.test", "secret", "127.0.0.1",
               std::to_string(server.c2s_port()), "alice@notls.test", std::to_string(rate),
               std::to_string(seconds)},
              world.dir().path(), floodLog);
  StallMeter meter;
  bool finished = RunUntil([&] { return Printed(floodLog, "sent") && Printed(churnLog, "sent"); },
                           seconds + 120);
  const int expected = rate * seconds;
  double stall = meter.LongestMs(), stallAt = meter.LongestAtS();
  long stalls = meter.Stalls(), lateStalls = meter.StallsAfter(seconds / 2.0);
  bool allShown = RunUntil(
      [&] { return Occurrences(record->HistoryFrom(historyStart), u"flood-") >= expected; }, 60);
  int shown = Occurrences(record->HistoryFrom(historyStart), u"flood-");
  std::int64_t rssEnd = ResidentBytes(), heapEnd = HeapBytes();
  double historyBytes = 2.0 * static_cast<double>(record->HistoryLength() - historyStart);
  double viewBytes = static_cast<double>(world.app()->chatWindow->HeldBytes()) - viewStart;
  auto perMessage = [shown](double bytes) { return shown ? bytes / shown : 0; };

  Figure("flood", "seconds", seconds);
  Figure("flood", "messages_sent", expected);
  Figure("flood", "messages_shown", shown);
  Figure("flood", "longest_stall_ms", stall);
  Figure("flood", "longest_stall_at_s", stallAt);
  Figure("flood", "stalls_over_100ms", static_cast<int>(stalls));
  Figure("flood", "of_them_in_second_half", static_cast<int>(lateStalls));
  Figure("flood", "rss_start_mib", rssStart / 1048576.0);
  Figure("flood", "rss_end_mib", rssEnd / 1048576.0);
  Figure("flood", "rss_bytes_per_message", perMessage(rssEnd - rssStart));
  Figure("flood", "heap_bytes_per_message", perMessage(heapEnd - heapStart));
  Figure("flood", "history_bytes_per_message", perMessage(historyBytes));
  Figure("flood", "view_bytes_per_message", perMessage(viewBytes));
  int failures = 0;
  if (!finished || !allShown) {
    std::fprintf(stderr, "flood: peers finished %d, %d of %d messages shown\n", finished, shown,
                 expected);
    ++failures;
  }
  return failures;
}

}  // namespace soak
