// New messages reach a user who is looking elsewhere: a sound through the desktop's player and a
// notification on the desktop's notification service (dunst on a private bus), whose Chat action
// opens the conversation. Each test is a process of its own under ctest, as the session bus must
// be chosen before anything in the process connects to one.
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "chat_peer.h"
#include "program_fixture.h"
#include "support/notification_daemon.h"
#include "ui/chat_wnd.h"

namespace e2e {
namespace {

// A stand-in for pw-play, first on PATH: it notes when each sound starts and ends, and plays
// for half a second, so sounds that overlap would show in its journal.
const char kRecordingPlayer[] =
    "#!/bin/sh\n"
    "echo \"start $(date +%s.%N) $1\" >> \"$(dirname \"$0\")/journal\"\n"
    "sleep 0.5\n"
    "echo \"end $(date +%s.%N)\" >> \"$(dirname \"$0\")/journal\"\n";

class ProgramNotifyTest : public ProgramTest {
 protected:
  void SetUp() override {
    daemon_ = std::make_unique<NotificationDaemon>();  // before anything connects to a bus
    ASSERT_TRUE(daemon_->ready());
    WriteFile(players_ / "pw-play", kRecordingPlayer);
    ::chmod((players_ / "pw-play").c_str(), 0755);
    oldPath_ = std::getenv("PATH");
    ::setenv("PATH", (players_.path() + ":" + oldPath_).c_str(), 1);
    ProgramTest::SetUp();
    server_->AddAccount("localhost", "bob", "pw");
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    SetDword(kSettingsKey, "ENABLE POPUPS", 1);
    SetDword(kSettingsKey, "SOUND SUPPORT", 1);
    SetDword(kSettingsKey, "SOUND MESSAGE SUPPORT", 1);
    SetDword(kSettingsKey, "SOUND FIRST MESSAGE SUPPORT", 1);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
    ASSERT_TRUE(StartPeer());
  }
  void TearDown() override {
    ProgramTest::TearDown();
    ::setenv("PATH", oldPath_.c_str(), 1);
    daemon_.reset();
  }
  bool StartPeer() { return bob_.Start("bob@localhost", "pw", server_->c2s_port(), peerDir_.path()); }
  MChatWnd& chat() { return *app_->chatWindow; }
  std::vector<std::string> Journal(const char* kind) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(players_ / "journal"));
    for (std::string line; std::getline(in, line);) {
      if (line.rfind(kind, 0) == 0) {
        lines.push_back(line);
      }
    }
    return lines;
  }

  std::unique_ptr<NotificationDaemon> daemon_;
  TempDir players_;
  TempDir peerDir_;
  std::string oldPath_;
  ChatPeer bob_;
};

TEST_F(ProgramNotifyTest, AMessageOutOfViewSoundsAndItsNotificationOpensTheConversation) {
  bob_.Command({"send", "alice@localhost", "hello & <b>not bold</b>"});
  ASSERT_TRUE(RunUntil([&] { return daemon_->Displayed() == 1; }, 20)) << bob_.Output();
  // The first message of a conversation plays one sound: the message sound that follows at
  // once is not played over it.
  ASSERT_TRUE(RunUntil([&] { return Journal("end").size() == 1; }, 5));
  std::vector<std::string> started = Journal("start");
  ASSERT_EQ(1u, started.size());
  EXPECT_NE(started[0].find(".wav"), std::string::npos) << started[0];

  ASSERT_TRUE(daemon_->InvokeDefaultAction());
  ASSERT_TRUE(RunUntil(
      [&] {
        ChatRecord* current = chat().CurrentChat();
        return current != nullptr && std::string(current->peer.jid.c_str()) == "bob@localhost" &&
               IsWindowVisible(chat().GetHwnd());
      },
      10));
  EXPECT_NE(chat().CurrentChat()->History().find(u"not bold"), std::u16string::npos);
  EXPECT_TRUE(RunUntil([&] { return daemon_->Displayed() == 0; }, 10));
  // What the desktop was given: the speaker and the text as text.
  std::string history = daemon_->History();
  EXPECT_NE(history.find("bob says: hello &amp; &lt;b&gt;not bold&lt;/b&gt;"), std::string::npos)
      << history;
}

TEST_F(ProgramNotifyTest, ABurstShowsOneNotificationAndSoundsNeverOverlap) {
  for (int i = 0; i < 30; ++i) {
    bob_.Command({"send", "alice@localhost", "burst " + std::to_string(i)});
  }
  ChatRecord* record = nullptr;
  ASSERT_TRUE(RunUntil(
      [&] {
        record = chat().FindChat("bob@localhost", kChatOneToOne);
        return record != nullptr && record->History().find(u"burst 29") != std::u16string::npos;
      },
      20))
      << bob_.Output();
  RunUntil([] { return false; }, 1.5);  // the last sounds end
  EXPECT_EQ(1, daemon_->Displayed());
  // Each sound ends before the next one starts: the journal alternates.
  std::istringstream journal(ReadFile(players_ / "journal"));
  std::vector<std::string> kinds;
  for (std::string kind, rest; journal >> kind && std::getline(journal, rest);) {
    kinds.push_back(kind);
  }
  ASSERT_FALSE(kinds.empty());
  EXPECT_EQ(0u, kinds.size() % 2);
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    EXPECT_EQ(i % 2 == 0 ? "start" : "end", kinds[i]) << ReadFile(players_ / "journal");
  }
  EXPECT_LT(kinds.size() / 2, 30u);  // not one sound for each message
}

}  // namespace
}  // namespace e2e
