// The link cut and restored while the user chats: a relay the driver controls sits between the
// program and Prosody. Messages are typed into the chat window while the link is up, and while
// it is down (the program has noticed and waits to reconnect); a slixmpp peer counts what
// arrives. Every message must arrive exactly once.
#include <signal.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/conversations.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "soak_scenarios.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"
#include "xmpp/jconn.h"

namespace soak {
namespace {

const char* kPeer = "bob@notls.test";

// Types `text` into the input field of the current conversation and presses Enter.
void Type(MChatWnd& chat, const std::string& text) {
  HWND input = chat.Control(kChatInputId);
  SetWindowTextW(input, utf8_to_wide(text.c_str()).c_str());
  SimulateKey(input, VK_RETURN, u'\r');
  ProcessDisplayEvents();
}

// Times each body arrived at the peer, from its event lines.
int Arrivals(const std::string& peerOutput, const std::string& body) {
  std::string event = "\"body\": \"" + body + "\"";
  int count = 0;
  for (std::size_t at = peerOutput.find(event); at != std::string::npos;
       at = peerOutput.find(event, at + 1)) {
    ++count;
  }
  return count;
}

int Lines(const std::string& text, const std::string& line) {
  int count = 0;
  for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
    ++count;
  }
  return count;
}

class LinkRun {
 public:
  explicit LinkRun(World& world) : world_(world), relayPort_(e2e::FreePort()) {}

  bool Start(int period) {
    e2e::ProsodyServer& server = world_.server();
    server.AddAccount("notls.test", "bob", "secret");
    if (!server.Start()) {
      return false;
    }
    std::string peers = e2e::SourceDir() + "/tests/peers/";
    relay_.Start({"/usr/bin/python3", peers + "tcp_relay.py", std::to_string(relayPort_),
                  std::to_string(server.c2s_port())},
                 world_.dir().path(), RelayLog());
    peer_.Start({"/usr/bin/python3", peers + "chat_peer.py", kPeer, "secret", "127.0.0.1",
                 std::to_string(server.c2s_port())},
                world_.dir().path(), PeerLog());
    if (!RunUntil([&] { return Lines(e2e::ReadFile(RelayLog()), "ready") == 1; }, 20) ||
        !RunUntil([&] { return Lines(e2e::ReadFile(PeerLog()), "ready") == 1; }, 30) ||
        !world_.StartProgram(relayPort_, period) ||
        !RunUntil([&] { return world_.Connections() >= 1; }, 30)) {
      return false;
    }
    world_.routes().conversations().ShowConversation(kPeer, "");
    return true;
  }

  void Say(const std::string& body) {
    Type(*world_.app()->chatWindow, body);
    sent_.push_back(body);
  }

  // Cuts the link and waits until the program has noticed.
  bool Cut(int cycle) {
    kill(relay_.pid(), SIGUSR1);
    return RunUntil([&] { return Lines(e2e::ReadFile(RelayLog()), "cut") == cycle; }, 10) &&
           RunUntil([&] { return !world_.routes().IsConnected(); }, 30);
  }

  // Restores the link and waits for the next login.
  bool Restore(int connectionsBefore, double seconds) {
    kill(relay_.pid(), SIGUSR2);
    return RunUntil([&] { return world_.Connections() > connectionsBefore; }, seconds);
  }

  // Waits until every message arrived (or `seconds` passed), then counts.
  void Count(double seconds, int* lost, int* duplicated) {
    auto output = [&] { return e2e::ReadFile(PeerLog()); };
    RunUntil(
        [&] {
          std::string text = output();
          for (const std::string& body : sent_) {
            if (Arrivals(text, body) == 0) {
              return false;
            }
          }
          return true;
        },
        seconds);
    RunFor(2);  // late duplicates have time to show
    std::string text = output();
    *lost = *duplicated = 0;
    for (const std::string& body : sent_) {
      int arrived = Arrivals(text, body);
      if (arrived == 0) {
        ++*lost;
        std::fprintf(stderr, "link: lost %s\n", body.c_str());
      }
      if (arrived > 1) {
        *duplicated += arrived - 1;
        std::fprintf(stderr, "link: %s arrived %d times\n", body.c_str(), arrived);
      }
    }
  }
  int Sent() const { return static_cast<int>(sent_.size()); }

 private:
  std::string RelayLog() { return world_.dir() / "relay.out"; }
  std::string PeerLog() { return world_.dir() / "bob.out"; }

  World& world_;
  int relayPort_;
  e2e::ChildProcess relay_;
  e2e::ChildProcess peer_;
  std::vector<std::string> sent_;
};

}  // namespace

int RunLinkCuts(const Params& params) {
  const int cycles = params.Int("cycles", 3);
  const int perPhase = params.Int("per_phase", 5);
  const int period = params.Int("period", 2000);
  World world;
  LinkRun run(world);
  if (!run.Start(period)) {
    std::fprintf(stderr, "link: the relay, the peer or the program did not start\n");
    return 1;
  }
  int failures = 0, deferred = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    for (int i = 0; i < perPhase; ++i) {
      run.Say("up-" + std::to_string(cycle) + "-" + std::to_string(i));
      RunFor(0.05);
    }
    if (!run.Cut(cycle)) {
      std::fprintf(stderr, "link: cut %d was never noticed\n", cycle);
      return failures + 1;
    }
    int before = world.Connections();
    for (int i = 0; i < perPhase; ++i) {
      run.Say("down-" + std::to_string(cycle) + "-" + std::to_string(i));
    }
    deferred += jab_deferred_count(world.app()->session->conn);
    if (!run.Restore(before, 30)) {
      std::fprintf(stderr, "link: no login after restore %d\n", cycle);
      ++failures;
    }
  }
  int lost = 0, duplicated = 0;
  run.Count(30, &lost, &duplicated);
  Figure("link", "cycles", cycles);
  Figure("link", "messages_typed", run.Sent());
  Figure("link", "deferred_while_down", deferred);
  Figure("link", "lost", lost);
  Figure("link", "duplicated", duplicated);
  return failures + lost + duplicated;
}

}  // namespace soak
