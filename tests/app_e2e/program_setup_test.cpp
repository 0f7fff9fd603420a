// Setting the program up as a new user does: the wizard at the first start, the login window's
// Connect, and an ICQ gateway that receives the account after "Connect..." for ICQ.
#include <sys/stat.h>

#include "app/login_wnd.h"
#include "platform/gdi.h"
#include "program_fixture.h"
#include "ui/account_dialogs.h"
#include "ui/roster_wnd.h"
#include "user_script.h"
#include "xmpp/session_messages.h"

namespace e2e {
namespace {

std::string Shot(const char* name) {
  return std::string(ORVIK_ARTIFACTS_DIR "/") + name;
}

bool OwnerOnly(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && (info.st_mode & 0777) == 0600;
}

class ProgramSetupTest : public ProgramTest {
 protected:
  void Command(UINT id) { SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, id, 0); }
  void ClickConnect() { SendMessage(app_->loginWindow->Control(kLoginConnect), BM_CLICK, 0, 0); }
};

TEST_F(ProgramSetupTest, FirstStartRunsTheWizardAndTheLoginWindowConnects) {
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  UserScript user;
  user.At("Setup Wizard",
          [&](HWND dialog) {
            SaveWindowToPng(dialog, Shot("program_wizard.png").c_str());
            UserScript::Press(dialog, IDOK);
          })
      .At("Jabber Service Setup", [&](HWND dialog) {
        UserScript::Type(dialog, IDC_JABBER_SERVER, utf8_to_wide(LocalServer().c_str()).c_str());
        UserScript::Type(dialog, IDC_JABBER_USERNAME, u"alice");
        UserScript::Type(dialog, IDC_JABBER_PASSWORD, u"secret");
        SaveWindowToPng(dialog, Shot("program_account_setup.png").c_str());
        UserScript::Press(dialog, IDOK);
      });
  StartProgram();
  EXPECT_TRUE(user.Done());
  std::string registry = Registry();
  EXPECT_NE(registry.find("\"SetupWizard\"=dword:00000001"), std::string::npos) << registry;
  EXPECT_NE(registry.find("\"JABBERTR.USERNAME\"=\"alice\""), std::string::npos) << registry;
  EXPECT_NE(registry.find("\"JABBERTR.SERVER\"=\"" + LocalServer() + "\""), std::string::npos);
  EXPECT_NE(registry.find("\"LOGIN ON STARTUP\"=dword:00000000"), std::string::npos);
  EXPECT_TRUE(OwnerOnly(home_->registryFile()));

  // The login window is the first screen, filled from the account.
  ASSERT_TRUE(app_->loginWindow->IsTopWindow());
  WCHAR user_name[64] = {};
  GetWindowTextW(app_->loginWindow->Control(kLoginUserEdit), user_name, 64);
  EXPECT_EQ(std::u16string(user_name), u"alice");
  SaveWindowToPng(app_->mainFrame->GetHwnd(), Shot("program_login_window.png").c_str());

  ClickConnect();
  EXPECT_TRUE(WaitForLog("Connected.")) << Log();
  EXPECT_TRUE(WaitForLog("Contact list received: 3 contacts.")) << Log();
  EXPECT_TRUE(app_->rosterWindow->IsTopWindow());  // connected: the contact list comes forward
  Command(40249);
  EXPECT_TRUE(app_->logWindow->IsTopWindow());
  RunUntil([] { return false; }, 0.3);
  SaveWindowToPng(app_->mainFrame->GetHwnd(), Shot("program_log_after_login.png").c_str());
}

TEST_F(ProgramSetupTest, ConnectForIcqRegistersTheAccountWithTheAnnouncedGateway) {
  TempDir peerDir;
  ChildProcess gateway;
  ASSERT_TRUE(StartGateway("icq.localhost", "icq", peerDir, &gateway))
      << ReadFile(peerDir / "gateway.out");

  SetAccount(LocalServer(), "alice", "secret");
  SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
  StartProgram();
  ASSERT_TRUE(WaitForLog("Connected.")) << Log();
  // The server announces the gateway through service discovery.
  ASSERT_TRUE(RunUntil([&] { return !app_->roster->FindServiceByType("icq").jid.empty(); }, 10));
  EXPECT_EQ(app_->roster->FindServiceByType("icq").jid, mstring("icq.localhost"));

  UserScript user;
  user.At("Setup your ICQ Login", [&](HWND dialog) {
    UserScript::Type(dialog, IDC_GATEWAY_USERNAME, u"12345678");
    UserScript::Type(dialog, IDC_GATEWAY_PASSWORD, u"icq pass");
    UserScript::Press(dialog, IDOK);
  });
  Command(40041);  // Login > ICQ > Connect...
  EXPECT_TRUE(user.Done());
  EXPECT_TRUE(RunUntil(
      [&] {
        return ReadFile(peerDir / "gateway.out")
                   .find(
                       "registered from=alice@localhost username=12345678 password=icq pass "
                       "key=gw-key-1") != std::string::npos;
      },
      10))
      << ReadFile(peerDir / "gateway.out");
  EXPECT_NE(Registry().find("\"ICQTR.USERNAME\"=\"12345678\""), std::string::npos);
}

// The XMPP account changed in Preferences while connected: the program logs out, and logs in
// again with the new values once the session has ended.
TEST_F(ProgramSetupTest, ChangingTheAccountWhileConnectedReconnectsWithTheNewValues) {
  server_->AddAccount("localhost", "bob", "bobpass");
  SetAccount(LocalServer(), "alice", "secret");
  StartProgram();
  Command(40008);  // Log On
  ASSERT_TRUE(WaitForLog("Connected.")) << Log();
  EXPECT_EQ(session_own_bare(app_->session), mstring("alice@localhost"));

  UserScript user;
  user.At("orvik Setup", [](HWND dialog) { UserScript::Press(dialog, 1004); })
      .At("Jabber Service Setup",
          [](HWND dialog) {
            UserScript::Type(dialog, IDC_JABBER_USERNAME, u"bob");
            UserScript::Type(dialog, IDC_JABBER_PASSWORD, u"bobpass");
            UserScript::Press(dialog, IDOK);
          })
      .At("orvik Setup", [](HWND dialog) { UserScript::Press(dialog, IDOK); });
  Command(40004);  // Preferences
  EXPECT_TRUE(user.Done());
  EXPECT_TRUE(RunUntil(
      [&] {
        return session_own_bare(app_->session) == mstring("bob@localhost") &&
               routes().IsConnected();
      },
      20))
      << Log();
  EXPECT_NE(Registry().find("\"JABBERTR.USERNAME\"=\"bob\""), std::string::npos);
}

// After a login the user asked for, the accounts whose gateway the server does not offer are
// listed; "Do not display this again" is kept in the settings.
TEST_F(ProgramSetupTest, AccountsWithoutAGatewayAreListedAfterTheLogin) {
  SetAccount(LocalServer(), "alice", "secret");
  SetText(kSettingsKey, "ICQTR.USERNAME", "12345678");
  SetText(kSettingsKey, "AIMTR.USERNAME", "");
  StartProgram();
  Command(40008);
  ASSERT_TRUE(WaitForLog("Connected.")) << Log();
  std::u16string listed;
  UserScript user;
  user.At("Unavailable Services", [&](HWND dialog) {
    WCHAR names[256] = {};
    GetDlgItemTextW(dialog, 1083, names, 256);
    listed = names;
    SaveWindowToPng(dialog, Shot("program_unavailable_services.png").c_str());
    CheckDlgButton(dialog, 1082, BST_CHECKED);
    UserScript::Press(dialog, IDOK);
  });
  // The post-login timer fires 25 seconds after the login; its message is sent at once here.
  SendMessage(app_->mainFrame->GetHwnd(), WM_TIMER, POST_LOGIN_TIMER_ID, 0);
  EXPECT_TRUE(user.Done());
  EXPECT_EQ(listed, u"ICQ Service\n");
  EXPECT_NE(Registry().find("\"DISPLAY NO SERVICES DBOX\"=dword:00000000"), std::string::npos);
}

}  // namespace
}  // namespace e2e
