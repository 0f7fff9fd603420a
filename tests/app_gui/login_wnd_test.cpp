// The login window in a running application: Connect stores the account and logs in, or
// refuses a missing or malformed server or user name; Setup runs the preferences; the arrow
// keys cycle the focus; and a screenshot.
#include <filesystem>

#include "app/server_address.h"
#include "tests/app_gui/setup_screens_support.h"

namespace {

TEST(ServerAddressTest, PortMustBeDecimalFrom1To65535) {
  struct Case {
    const WCHAR* server;
    bool valid;
    int port;
  };
  const Case cases[] = {{u"jabber.example.org", true, 0},
                        {u"jabber.example.org:5223", true, 5223},
                        {u"h:1", true, 1},
                        {u"h:65535", true, 65535},
                        {u"h:0", false, 0},
                        {u"h:65536", false, 0},
                        {u"h:70000", false, 0},
                        {u"h:abc", false, 0},
                        {u"h:52x", false, 0},
                        {u"h:", false, 0},
                        {u":5222", false, 0},
                        {u"", false, 0},
                        {u"h:99999999999999999999", false, 0}};
  for (const Case& c : cases) {
    int port = -1;
    EXPECT_EQ(ValidServerAndPort(c.server, &port), c.valid) << wide_to_mb(c.server).c_str();
    EXPECT_EQ(port, c.port) << wide_to_mb(c.server).c_str();
  }
}

class LoginWndTest : public SetupScreensTest {
 protected:
  void Fill(const WCHAR* server, const WCHAR* user, const WCHAR* password, bool automatic) {
    SetWindowTextW(login->Control(kLoginServerEdit), server);
    SetWindowTextW(login->Control(kLoginUserEdit), user);
    SetWindowTextW(login->Control(kLoginPasswordEdit), password);
    SendMessage(login->Control(kLoginAutoLogin), BM_SETCHECK, automatic ? BST_CHECKED : 0, 0);
  }
  void ClickConnect() { SendMessage(login->Control(kLoginConnect), BM_CLICK, 0, 0); }
};

TEST_F(LoginWndTest, ConnectStoresTheAccountAndLogsIn) {
  login->Show();
  int boxes = MessageBoxCount();
  int saves = Jabber()->saves;
  Fill(u"jabber.example.org:5223", u"anna", u"secret", true);
  ClickConnect();
  EXPECT_EQ(log, std::vector<std::string>{"Login"});
  EXPECT_EQ(Jabber()->server, u"jabber.example.org:5223");
  EXPECT_EQ(Jabber()->username, u"anna");
  EXPECT_EQ(Jabber()->password, u"secret");
  EXPECT_GT(Jabber()->saves, saves);
  EXPECT_EQ(MessageBoxCount(), boxes);
  EXPECT_EQ(app->windows.Top(), app->logWindow.get());
  EXPECT_TRUE(MSettings().loginOnStartup);
  EXPECT_TRUE(OwnerOnly());
}

TEST_F(LoginWndTest, MissingOrMalformedInputShowsTheBoxAndTurnsAutomaticLoginOff) {
  const WCHAR* cases[][2] = {{u"jabber.example.org", u""}, {u"", u"anna"},
                             {u"host:0", u"anna"},         {u"host:70000", u"anna"},
                             {u"host:abc", u"anna"},       {u"host:", u"anna"}};
  for (auto& [server, user] : cases) {
    SCOPED_TRACE(wide_to_mb(server).c_str());
    app->settings->SetLoginOnStartup(true);
    app->ShowLogWindow();
    int boxes = MessageBoxCount();
    Fill(server, user, u"pw", true);
    ClickConnect();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(MessageBoxCount(), boxes + 1);
    EXPECT_EQ(LastBox(), u"Please enter a valid servername and username.");
    EXPECT_FALSE(MSettings().loginOnStartup);
    EXPECT_EQ(SendMessage(login->Control(kLoginAutoLogin), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(app->windows.Top(), login);
  }
}

TEST_F(LoginWndTest, ArrowKeysCycleTheFocus) {
  login->Show();
  const int cycle[] = {kLoginServerEdit, kLoginUserEdit, kLoginPasswordEdit, kLoginAutoLogin};
  // Focus follows once the desktop has activated the frame.
  SetActiveWindow(app->mainFrame->GetHwnd());
  ASSERT_TRUE(RunUntil([] {
    SetFocus(login->Control(kLoginServerEdit));
    return GetFocus() == login->Control(kLoginServerEdit);
  }));
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(SimulateKey(GetFocus(), VK_DOWN, 0));
    EXPECT_EQ(GetFocus(), login->Control(cycle[i % 4])) << "Down " << i;
  }
  for (int i = 3; i >= 0; --i) {
    ASSERT_TRUE(SimulateKey(GetFocus(), VK_UP, 0));
    EXPECT_EQ(GetFocus(), login->Control(cycle[i])) << "Up to " << i;
  }
  // Other keys still reach the edit.
  SetFocus(login->Control(kLoginUserEdit));
  SetWindowTextW(login->Control(kLoginUserEdit), u"");
  ASSERT_TRUE(SimulateKey(GetFocus(), 'B', u'b'));
  WCHAR text[8];
  GetWindowTextW(login->Control(kLoginUserEdit), text, 8);
  EXPECT_EQ(std::u16string(text), u"b");
}

TEST_F(LoginWndTest, SetupRunsThePreferencesAndRefreshesFromTheChangedAccount) {
  login->Show();
  Jabber()->changeOnSetup = true;
  Jabber()->server = u"changed.example.org";
  Jabber()->username = u"bob";
  app->settings->SetLoginOnStartup(false);
  Script({[](HWND dialog) {
            SendDlgItemMessage(dialog, 1001, CB_SETCURSEL, 0, 0);
            Click(dialog, 1004);
          },
          [](HWND dialog) { Ok(dialog); }});
  SendMessage(login->Control(kLoginSetup), BM_CLICK, 0, 0);
  EXPECT_EQ(log, std::vector<std::string>{"Setup jud"});  // not connected: no relogin
  WCHAR text[64];
  GetWindowTextW(login->Control(kLoginServerEdit), text, 64);
  EXPECT_EQ(std::u16string(text), u"changed.example.org");
  GetWindowTextW(login->Control(kLoginUserEdit), text, 64);
  EXPECT_EQ(std::u16string(text), u"bob");
  EXPECT_EQ(app->windows.Top(), login);
}

TEST_F(LoginWndTest, LogWindowCommandGoesToTheFrame) {
  login->Show();
  SendMessage(login->GetHwnd(), WM_COMMAND, 40249, 0);
  EXPECT_EQ(app->windows.Top(), app->logWindow.get());
}

TEST_F(LoginWndTest, Screenshot) {
  Jabber()->server = u"jabber.example.org";
  Jabber()->username = u"anna";
  Jabber()->password = u"secret";
  login->Refresh();
  login->Show();
  ProcessDisplayEvents();
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  EXPECT_TRUE(SaveWindowToPng(app->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/login_window.png"));
}

}  // namespace
