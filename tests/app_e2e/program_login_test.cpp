// Logging in from the program against a real Prosody: automatic login at start-up, the contact
// count and the status sent to a contact, Log Off, reconnection after a server restart, a wrong
// password, and two copies of one account that must not knock each other off for ever.
#include <chrono>
#include <thread>

#include "app/app_messages.h"
#include "app/login_wnd.h"
#include "platform/menu.h"
#include "program_fixture.h"

namespace e2e {
namespace {

class ProgramLoginTest : public ProgramTest {
 protected:
  void StartLoggedIn() {
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Connected.")) << Log();
  }
  // A contact of alice's (c1) that writes every presence it gets from her to its output.
  void StartWatcher() {
    server_->AddAccount("localhost", "c1", "pw");
    watcher_.Start(
        {"/usr/bin/python3", SourceDir() + "/tests/peers/presence_watcher.py", "c1@localhost", "pw",
         "127.0.0.1", std::to_string(server_->c2s_port()), "alice@localhost", "40"},
        peerDir_.path(), peerDir_ / "watcher.out");
    ASSERT_TRUE(RunUntil([&] { return watched().find("ready") != std::string::npos; }, 20));
  }
  std::string watched() { return ReadFile(peerDir_ / "watcher.out"); }
  TempDir peerDir_;
  ChildProcess watcher_;
  void Command(UINT id) { SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, id, 0); }
  bool Checked(UINT id) {
    return (GetMenuState(MenuBarMenu(app_->mainFrame->GetMenuBar()), id, MF_BYCOMMAND) &
            MF_CHECKED) != 0;
  }
  std::string LastBox() {
    WCHAR text[1024] = {};
    WCHAR caption[128] = {};
    UINT type = 0;
    LastMessageBox(text, 1024, caption, 128, &type);
    return wide_to_utf8(text).c_str();
  }
};

// A status chosen while disconnected only moves the check mark; the login sends it with the
// first presence, and a change while connected goes out at once.
TEST_F(ProgramLoginTest, LogOnCountsTheContactsAndSendsTheChosenStatus) {
  StartWatcher();
  SetAccount(LocalServer(), "alice", "secret");
  StartProgram();
  EXPECT_TRUE(Checked(40034));
  Command(40035);  // Busy, while disconnected
  EXPECT_TRUE(Checked(40035));
  EXPECT_FALSE(Checked(40034));

  Command(40008);  // Log On
  ASSERT_TRUE(WaitForLog("Connected.")) << Log();
  EXPECT_TRUE(WaitForLog("Contact list received: 3 contacts.")) << Log();
  EXPECT_EQ(app_->roster->ListItems(u"Friends").size(), 3u);
  EXPECT_TRUE(
      RunUntil([&] { return watched().find("show=dnd status=Busy") != std::string::npos; }, 10))
      << watched();

  Command(40037);  // Be Right Back
  EXPECT_TRUE(RunUntil(
      [&] { return watched().find("show=away status=Be right back") != std::string::npos; }, 10))
      << watched();
}

// A second login while one runs starts nothing and says so.
TEST_F(ProgramLoginTest, ASecondLoginWhileOneRunsIsRefused) {
  StartLoggedIn();
  int attempts = routes().login().LoginAttempts();
  SendMessage(app_->loginWindow->Control(kLoginConnect), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitForLog("Login already in progress. Please wait..")) << Log();
  EXPECT_EQ(routes().login().LoginAttempts(), attempts);
  RunUntil([] { return false; }, 1);
  EXPECT_EQ(Count(Log(), "Connecting to Jabber server"), 1) << Log();
  EXPECT_TRUE(routes().IsConnected());
}

TEST_F(ProgramLoginTest, LogOffTurnsAutomaticLoginOffAndStaysDisconnected) {
  StartLoggedIn();
  Command(40027);
  EXPECT_TRUE(WaitForLog("Disconnected.")) << Log();
  EXPECT_NE(Registry().find("\"LOGIN ON STARTUP\"=dword:00000000"), std::string::npos);
  RunUntil([] { return false; }, 2);
  EXPECT_EQ(Count(Log(), "Connected."), 1) << Log();
  EXPECT_FALSE(routes().IsConnected());
  // No reconnection follows: the contacts are gone and the login window is the screen.
  EXPECT_TRUE(app_->roster->ListItems(u"").empty());
  EXPECT_TRUE(app_->loginWindow->IsTopWindow());
}

// Log Off says goodbye to the server: a contact sees a plain unavailable presence (a dropped
// connection's carries "Disconnected: <reason>"), and Log On at once connects again.
TEST_F(ProgramLoginTest, LogOffIsAGoodbyeAndLogOnRightAfterItConnectsAgain) {
  StartWatcher();
  StartLoggedIn();
  ASSERT_TRUE(
      RunUntil([&] { return watched().find("presence available") != std::string::npos; }, 10))
      << watched();

  Command(40027);  // Log Off
  Command(40008);  // Log On
  EXPECT_TRUE(RunUntil([&] { return Count(Log(), "<P>Connected.</P>") == 2; }, 20)) << Log();
  EXPECT_FALSE(LogHas("Login already in progress")) << Log();
  EXPECT_TRUE(routes().IsConnected());
  ASSERT_TRUE(RunUntil([&] { return Count(watched(), "presence available") == 2; }, 10))
      << watched();
  EXPECT_NE(std::string::npos, watched().find("presence unavailable show= status=\n")) << watched();
  EXPECT_EQ(std::string::npos, watched().find("Disconnected")) << watched();
}

TEST_F(ProgramLoginTest, ServerRestartIsFollowedByAReconnection) {
  SetDword(kSettingsKey, "CHECK CONNECTION PERIOD", 1000);
  StartLoggedIn();
  server_->Stop();
  ASSERT_TRUE(server_->Start());
  EXPECT_TRUE(RunUntil([&] { return Count(Log(), "<P>Connected.</P>") >= 2; }, 30)) << Log();
  EXPECT_TRUE(routes().IsConnected());
}

TEST_F(ProgramLoginTest, WrongPasswordIsReportedAndTurnsAutomaticLoginOff) {
  SetAccount(LocalServer(), "alice", "not the password");
  SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
  int boxes = MessageBoxCount();
  StartProgram();
  EXPECT_TRUE(WaitForLog("AUTHORIZATION ERROR.")) << Log();
  EXPECT_TRUE(LogHas("CHECK USERNAME AND PASSWORD.")) << Log();
  EXPECT_TRUE(RunUntil([&] { return MessageBoxCount() > boxes; }, 5));
  EXPECT_EQ(LastBox(),
            "Error logging onto your account. Please make sure your password and username are "
            "correct.");
  EXPECT_FALSE(app_->settings->loginOnStartup);
  RunUntil([&] { return !routes().login().LoginThreadRunning(); }, 10);
  EXPECT_FALSE(routes().login().LoginThreadRunning());
}

// Two copies of one account with automatic login: each login of one ends the other's session
// with a <conflict/> stream error. Without a pause before reconnecting they would log in many
// times a second for ever; with it, a handful of times in 30 seconds.
TEST_F(ProgramLoginTest, SecondCopyOfTheAccountDoesNotStartAReconnectStorm) {
  SetDword(kSettingsKey, "CHECK CONNECTION PERIOD", 5000);
  StartLoggedIn();
  // The second copy: the real program in its own profile, with the same account.
  TempDir otherHome;
  setenv("ORVIK_HOME", otherHome.path().c_str(), 1);
  SetAccount(LocalServer(), "alice", "secret");
  SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
  SetDword(kSettingsKey, "CHECK CONNECTION PERIOD", 5000);
  SetText(u"Software\\orvik\\TLS", "CA FILE", TestCa::Get().ca_file());
  setenv("ORVIK_HOME", home_->path().c_str(), 1);
  ChildProcess other;
  other.Start({"/usr/bin/env", "ORVIK_HOME=" + otherHome.path(), ORVIK_PROGRAM}, otherHome.path(),
              otherHome / "orvik.out");
  RunUntil([] { return false; }, 30);
  other.Stop();
  int logins = Count(Log(), "Connecting to Jabber server");
  EXPECT_GE(logins, 2) << "the second copy never took the session over\n" << Log();
  EXPECT_LE(logins, 10) << Log();
}

}  // namespace
}  // namespace e2e
