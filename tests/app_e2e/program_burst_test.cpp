// Bursts of chat messages into the real program, sent as fast as slixmpp sends them: every
// message reaches its sender's conversation once and in order, however the receive loop cuts
// the stream into chunks, with one sender or many at once.
#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "ui/chat_wnd.h"

namespace e2e {
namespace {

struct Burst {
  int senders;
  int count;
};

class ProgramBurstTest : public ProgramTest, public ::testing::WithParamInterface<Burst> {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    std::vector<std::pair<std::string, std::string>> contacts;
    for (int i = 1; i <= GetParam().senders; ++i) {
      server_->AddAccount("localhost", Sender(i), "secret");
      contacts.push_back({Sender(i) + "@localhost", "Sender " + std::to_string(i)});
    }
    server_->SetRoster("localhost", "alice", contacts);
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
    routes().dispatcher().SetNotifier(nullptr);  // counted, not shown
  }

  static std::string Sender(int i) { return "c" + std::to_string(i); }

  // The n of every "<n> of <count> from <user>" line in the conversation with `user`, in the
  // order shown; empty when there is no conversation.
  std::vector<int> Numbers(const std::string& user) {
    ChatRecord* record = app_->chatWindow->FindChat((user + "@localhost").c_str(), kChatOneToOne);
    std::vector<int> numbers;
    if (record == nullptr) {
      return numbers;
    }
    std::string history = wide_to_utf8(wmstring(record->History().c_str())).c_str();
    std::regex line("(\\d+) of " + std::to_string(GetParam().count) + " from " + user + "\\b");
    for (std::sregex_iterator at(history.begin(), history.end(), line), end; at != end; ++at) {
      numbers.push_back(std::stoi((*at)[1]));
    }
    return numbers;
  }

  bool AllArrived() {
    for (int i = 1; i <= GetParam().senders; ++i) {
      if (Numbers(Sender(i)).size() < static_cast<size_t>(GetParam().count)) {
        return false;
      }
    }
    return true;
  }

  TempDir peerDir_;
};

TEST_P(ProgramBurstTest, EveryMessageReachesItsConversationOnceAndInOrder) {
  const Burst burst = GetParam();
  ChildProcess peer;
  ASSERT_TRUE(peer.Start({"/usr/bin/python3", SourceDir() + "/tests/peers/burst_sender.py",
                          "127.0.0.1", std::to_string(server_->c2s_port()), "alice@localhost",
                          std::to_string(burst.senders), std::to_string(burst.count)},
                         peerDir_.path(), peerDir_ / "senders.log"));
  // Looked at twice a second only: the histories are read whole.
  auto looked = std::chrono::steady_clock::now();
  RunUntil(
      [&] {
        if (std::chrono::steady_clock::now() - looked < std::chrono::milliseconds(500)) {
          return false;
        }
        looked = std::chrono::steady_clock::now();
        return AllArrived();
      },
      240);
  std::vector<int> expected;
  for (int n = 1; n <= burst.count; ++n) {
    expected.push_back(n);
  }
  for (int i = 1; i <= burst.senders; ++i) {
    EXPECT_EQ(Numbers(Sender(i)), expected) << Sender(i);
  }
  int status = peer.Wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(peerDir_ / "senders.log");
}

INSTANTIATE_TEST_SUITE_P(Bursts, ProgramBurstTest, ::testing::Values(Burst{1, 3000}, Burst{25, 60}),
                         [](const auto& info) {
                           return std::to_string(info.param.senders) + "x" +
                                  std::to_string(info.param.count);
                         });

}  // namespace
}  // namespace e2e
