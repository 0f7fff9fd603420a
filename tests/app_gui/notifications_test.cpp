// The notification manager on a real sink window and real bubbles, and its wiring behind the
// main frame's popup commands and timers.
#include "app/notifications.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/desktop_notifier.h"
#include "app/jabber_wnd.h"
#include "app/program_routes.h"
#include "platform/notification.h"
#include "tests/platform_qt/display_support.h"
#include "tests/support/temp_home.h"

namespace {

LRESULT QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window, message, wParam, lParam);
}

class NotificationManagerTest : public DisplayTest {
 protected:
  void SetUp() override {
    static const WNDCLASS windowClass{0,       QuietProc, 0,       0,       nullptr,
                                      nullptr, nullptr,   nullptr, nullptr, u"JPOPUPSINK"};
    RegisterClassW(&windowClass);
    sink_ = CreateWindowExW(0, u"JPOPUPSINK", u"orvik", WS_VISIBLE, 0, 0, 480, 640, nullptr,
                            nullptr, nullptr, nullptr);
    manager_.SetChatCallback([this](const mstring& jid, const mstring& resource) {
      chats_.emplace_back(jid.c_str(), resource.c_str());
    });
  }
  void TearDown() override {
    manager_.CloseAllNotifications();
    DestroyWindow(sink_);
    DisplayTest::TearDown();
  }

  HWND sink_ = nullptr;
  MNotificationManager manager_{[this] { return sink_; }};
  std::vector<std::pair<std::string, std::string>> chats_;
};

TEST_F(NotificationManagerTest, IdsCountUpAndAnExpiredPopupIsFreed) {
  manager_.ShowNotification(u"ann@x", u"one");
  manager_.ShowNotification(u"bob@x", u"two");
  DWORD first = manager_.FindByTitle(u"ann@x");
  EXPECT_GE(first, 10000u);
  EXPECT_EQ(manager_.FindByTitle(u"bob@x"), first + 1);
  EXPECT_TRUE(SHNotificationVisible(first));
  EXPECT_TRUE(manager_.HandleTimer(first));
  EXPECT_FALSE(manager_.Has(first));
  EXPECT_FALSE(SHNotificationVisible(first));
  EXPECT_EQ(manager_.Count(), 1u);
  EXPECT_FALSE(manager_.HandleTimer(first));  // not a popup's any more
  EXPECT_FALSE(manager_.HandleTimer(8888));
}

TEST_F(NotificationManagerTest, OnePopupPerTitle) {
  for (int i = 0; i < 100; ++i) {
    manager_.ShowNotification(u"bob@x", u"again");
  }
  manager_.ShowNotification(u"ann@x", u"hello");
  EXPECT_EQ(manager_.Count(), 2u);
  DWORD newest = manager_.FindByTitle(u"bob@x");
  EXPECT_TRUE(SHNotificationVisible(newest));
  EXPECT_FALSE(SHNotificationVisible(newest - 1));
}

TEST_F(NotificationManagerTest, ChatOpensTheTitlesAddressAndRemovesThePopup) {
  const std::vector<std::pair<const WCHAR*, std::pair<std::string, std::string>>> cases{
      {u"bob@x/res", {"bob@x", "res"}},
      {u"ann@x", {"ann@x", ""}},
      {u"cat@x/home/desk", {"cat@x", "home/desk"}},
  };
  for (const auto& [title, expected] : cases) {
    manager_.ShowNotification(title, u"hi");
    DWORD id = manager_.FindByTitle(title);
    manager_.ChatFromNotification(id);
    ASSERT_FALSE(chats_.empty());
    EXPECT_EQ(chats_.back(), expected);
    EXPECT_FALSE(manager_.Has(id));
    EXPECT_FALSE(SHNotificationVisible(id));
  }
  EXPECT_EQ(chats_.size(), cases.size());
}

TEST_F(NotificationManagerTest, CloseAllRemovesEveryPopup) {
  manager_.ShowNotification(u"ann@x", u"1");
  manager_.ShowNotification(u"bob@x", u"2");
  DWORD ann = manager_.FindByTitle(u"ann@x");
  manager_.CloseAllNotifications();
  EXPECT_EQ(manager_.Count(), 0u);
  EXPECT_FALSE(SHNotificationVisible(ann));
}

TEST(NotificationBodyTest, ReceivedTextIsEscapedInTheFixedBody) {
  EXPECT_EQ(NotificationBody(u"<b>a</b> & 'q\""),
            wmstring(u"<html><head><meta http-equiv=\"Content-Type\"content=\"text/html\" />"
                     u"</head><body><form method=\"POST\" action=>&lt;b&gt;a&lt;/b&gt; &amp; "
                     u"&#39;q&quot;<p align=right><input type=button name='cmd:114' "
                     u"value='Chat'><input type=button name='cmd:113' value='Close'></p></body>"
                     u"</html>"));
}

TEST(DesktopNotifierTest, EachEventPlaysItsOwnSetting) {
  SettingsValues settings;
  settings.soundEnter = u"\\WINDOWS\\enter.wav";
  settings.soundExit = u"\\WINDOWS\\exit.wav";
  settings.soundMessage = u"\\WINDOWS\\message.wav";
  settings.soundFirstMessage = u"\\WINDOWS\\first.wav";
  const std::pair<EventSound, const WCHAR*> cases[] = {
      {EventSound::Enter, u"\\WINDOWS\\enter.wav"},
      {EventSound::Exit, u"\\WINDOWS\\exit.wav"},
      {EventSound::Message, u"\\WINDOWS\\message.wav"},
      {EventSound::FirstMessage, u"\\WINDOWS\\first.wav"},
  };
  for (const auto& [event, file] : cases) {
    EXPECT_EQ(MDesktopNotifier::SoundFile(settings, event), wmstring(file));
  }
}

// The program's routes behind the main frame: the popup commands carry the popup's id.
class PopupRoutingTest : public DisplayTest {
 protected:
  static void SetUpTestSuite() {
    DisplayTest::SetUpTestSuite();
    home = new TempHome;
    app = new MApp(reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(4712)), "");
    SetApp(app);
    ASSERT_TRUE(app->Initialise());
    auto routes = std::make_unique<MProgramRoutes>(app);
    program = routes.get();
    app->SetRoutes(std::move(routes));
  }
  static void TearDownTestSuite() { delete home; }
  HWND Frame() { return app->mainFrame->GetHwnd(); }

  static TempHome* home;
  static MApp* app;
  static MProgramRoutes* program;
};

TempHome* PopupRoutingTest::home = nullptr;
MApp* PopupRoutingTest::app = nullptr;
MProgramRoutes* PopupRoutingTest::program = nullptr;

TEST_F(PopupRoutingTest, CommandsAndTimersReachTheManager) {
  MNotificationManager& popups = program->notifications();
  program->dispatcher().Notifier().ShowPopup(u"ann@x", u"ann says: hi");
  program->dispatcher().Notifier().ShowPopup(u"bob@x", u"bob says: hi");
  DWORD ann = popups.FindByTitle(u"ann@x");
  DWORD bob = popups.FindByTitle(u"bob@x");
  ASSERT_NE(ann, 0u);
  SendMessage(Frame(), WM_COMMAND, 113, static_cast<LPARAM>(ann));
  EXPECT_FALSE(popups.Has(ann));
  EXPECT_TRUE(popups.Has(bob));
  SendMessage(Frame(), WM_TIMER, bob, 0);
  EXPECT_FALSE(popups.Has(bob));
}

}  // namespace
