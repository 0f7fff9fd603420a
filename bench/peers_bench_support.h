// Shared by the benchmarks that load the whole program and Profanity with the same messages on
// one Prosody: the accounts, the program logged in to a big roster, the message loop with a
// 10 ms timer whose longest gap is the user-interface stall, conversation lines counted in the
// chat window, the process's memory, and bench/profanity_load.py's figures.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "e2e/prosody_server.h"
#include "program_bench_support.h"
#include "ui/chat_record.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"

namespace peers_bench {

constexpr const char* kHost = "notls.test";  // neither client uses TLS

// An integer option "--name=value" of the command line, or `fallback`.
inline int Option(int argc, char** argv, const std::string& name, int fallback) {
  std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind(prefix, 0) == 0)
      return std::atoi(argv[i] + prefix.size());
  }
  return fallback;
}

// alice (orvik) and bob (Profanity), each with the roster c1 .. c<roster>, and the sender
// accounts c1 .. c<senders> (password "secret").
inline bool StartServer(e2e::ProsodyServer& server, int roster, int senders) {
  for (const char* user : {"alice", "bob"}) {
    server.AddAccount(kHost, user, "secret");
    server.AddRoster(kHost, user, roster);
  }
  for (int i = 1; i <= senders; ++i)
    server.AddAccount(kHost, "c" + std::to_string(i), "secret");
  return server.Start();
}

// (VmRSS, VmHWM) of this process in KiB.
inline std::pair<long, long> MemoryKib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  long rss = 0, hwm = 0;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0)
      rss = std::atol(line.c_str() + 6);
    if (line.rfind("VmHWM:", 0) == 0)
      hwm = std::atol(line.c_str() + 6);
  }
  return {rss, hwm};
}

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The message loop until `done` holds (asked at every message) or `timeout_ms` passed, with
// a 10 ms thread timer. The timer's message is made only when nothing else is queued, and
// the display's input is read only then too, so the longest gap between two of its firings
// is the longest time a key press would have waited. Returns that gap in ms.
inline double PumpMeasuringStall(const std::function<bool()>& done, int timeout_ms) {
  using Clock = std::chrono::steady_clock;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
  Clock::time_point last = Clock::now();
  double longest = 0;
  while (!done() && Clock::now() < deadline) {
    MSG message;
    if (GetMessage(&message, nullptr, 0, 0) <= 0)
      break;
    if (message.message == WM_TIMER && message.wParam == timer) {
      Clock::time_point now = Clock::now();
      longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
    }
    DispatchMessage(&message);
  }
  KillTimer(nullptr, timer);
  return longest;
}

// What the program showed under the load, and its memory before and after.
struct OrvikFigures {
  double loginSeconds = -1;
  double loginStallMs = 0;  // the longest stall from the login to the settled roster
  long rssLoginKib = 0, hwmLoginKib = 0, rssAfterKib = 0, hwmAfterKib = 0;
  long received = 0;
  int conversations = 0;
  double receiveSeconds = 0;  // the senders' start to the last line counted
  double burstStallMs = 0;
};

// Logs `app` in, waits for the whole roster, then lets the server's presence work settle.
inline void LogInToRoster(MApp* app, std::size_t roster, OrvikFigures& figures) {
  auto start = std::chrono::steady_clock::now();
  program_bench::Routes(app).Login(true);
  bool whole = false;
  auto settled = start + std::chrono::hours(1);
  figures.loginStallMs = PumpMeasuringStall(
      [&] {
        if (!whole && app->roster->ListItems(u"").size() >= roster) {
          whole = true;
          figures.loginSeconds = Seconds(start);
          settled = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        }
        return std::chrono::steady_clock::now() >= settled;
      },
      120000);
}

// Counts the senders' lines ("<n> of <count> from c<i>") in the conversations with c1 ..
// c<senders>, reading only what was appended since the last look.
class LineCounter {
 public:
  LineCounter(MApp* app, int senders) : app_(app), seen_(senders, 0), lines_(senders, 0) {}

  long Update() {
    long total = 0;
    for (std::size_t i = 0; i < seen_.size(); ++i) {
      std::string jid = "c" + std::to_string(i + 1) + "@" + kHost;
      ChatRecord* record = app_->chatWindow->FindChat(jid.c_str(), kChatOneToOne);
      if (record != nullptr && record->HistoryLength() > seen_[i]) {
        lines_[i] += Count(record->HistoryFrom(seen_[i]), u" from c");
        seen_[i] = record->HistoryLength();
      }
      total += lines_[i];
    }
    return total;
  }
  int Conversations() const {
    int open = 0;
    for (long lines : lines_)
      open += lines > 0 ? 1 : 0;
    return open;
  }

 private:
  static long Count(const std::u16string& text, const std::u16string& part) {
    long count = 0;
    for (auto at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1))
      ++count;
    return count;
  }
  MApp* app_;
  std::vector<std::size_t> seen_;
  std::vector<long> lines_;
};

// Runs bench/profanity_load.py on the same server; its "name value" figures (empty when it
// failed: its output is then printed).
inline std::map<std::string, double> ProfanityLoad(const e2e::ProsodyServer& server,
                                                   const e2e::TempDir& dir, int senders, int count,
                                                   int timeout_s) {
  std::string out = dir / "profanity_load.out";
  e2e::ChildProcess load;
  load.Start({"/usr/bin/python3", e2e::SourceDir() + "/bench/profanity_load.py",
              std::to_string(server.c2s_port()), "bob", std::to_string(senders),
              std::to_string(count), std::to_string(timeout_s)},
             dir.path(), out);
  load.Wait();
  std::map<std::string, double> figures;
  std::istringstream lines(e2e::ReadFile(out));
  std::string name;
  double value;
  while (lines >> name >> value)
    figures[name] = value;
  if (!figures.count("received"))
    std::fprintf(stderr, "profanity_load failed:\n%s\n", e2e::ReadFile(out).c_str());
  return figures;
}

// Runs tests/peers/burst_sender.py: c1 .. c<senders> send `count` messages each to alice.
inline void StartSenders(e2e::ChildProcess& peer, const e2e::ProsodyServer& server,
                         const e2e::TempDir& dir, int senders, int count) {
  peer.Start({"/usr/bin/python3", e2e::SourceDir() + "/tests/peers/burst_sender.py", "127.0.0.1",
              std::to_string(server.c2s_port()), std::string("alice@") + kHost,
              std::to_string(senders), std::to_string(count)},
             dir.path(), dir / "senders.log");
}

// The whole load on the program: login to the roster, then c1 .. c<senders> send `count`
// messages each; the loop runs until every line is in the chat window or `timeout_s` passed.
inline OrvikFigures RunOrvik(MApp* app, const e2e::ProsodyServer& server, const e2e::TempDir& dir,
                             int roster, int senders, int count, int timeout_s) {
  OrvikFigures figures;
  LogInToRoster(app, static_cast<std::size_t>(roster), figures);
  if (figures.loginSeconds < 0)
    return figures;
  std::tie(figures.rssLoginKib, figures.hwmLoginKib) = MemoryKib();
  LineCounter lines(app, senders);
  long expected = static_cast<long>(senders) * count;
  auto start = std::chrono::steady_clock::now();
  auto looked = start;
  e2e::ChildProcess peer;
  StartSenders(peer, server, dir, senders, count);
  figures.burstStallMs = PumpMeasuringStall(
      [&] {
        if (std::chrono::steady_clock::now() - looked > std::chrono::milliseconds(100)) {
          looked = std::chrono::steady_clock::now();
          long now = lines.Update();
          if (now != figures.received)
            figures.receiveSeconds = Seconds(start);
          figures.received = now;
        }
        return figures.received >= expected;
      },
      timeout_s * 1000);
  if (figures.received >= expected)
    peer.Wait();  // its last answer and logout
  else
    peer.Stop();
  figures.conversations = lines.Conversations();
  std::tie(figures.rssAfterKib, figures.hwmAfterKib) = MemoryKib();
  program_bench::Routes(app).LogOff();
  program_bench::Pump([&] { return !program_bench::Routes(app).login().LoginThreadRunning(); },
                      10000);
  return figures;
}

inline double Ratio(double a, double b) {
  return b != 0 ? a / b : 0;
}

}  // namespace peers_bench
