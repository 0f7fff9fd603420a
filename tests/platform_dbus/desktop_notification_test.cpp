// Notifications mirrored to a real notification service (dunst on a private bus): what the
// desktop shows, its default action reaching the sink through the message loop, and removal.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/notification.h"
#include "tests/platform_qt/display_support.h"
#include "tests/support/notification_daemon.h"

namespace {

const WCHAR kBody[] =
    u"<html><head><meta http-equiv=\"Content-Type\"content=\"text/html\" /></head><body><form "
    u"method=\"POST\" action=>bob says: a &lt;b&gt; &amp; c<p align=right><input type=button "
    u"name='cmd:114' value='Chat'><input type=button name='cmd:113' value='Close'></p></body>"
    u"</html>";

std::vector<std::pair<UINT, LPARAM>> commands;

LRESULT SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    commands.emplace_back(LOWORD(wParam), lParam);
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class DesktopNotificationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    daemon_ = new NotificationDaemon;  // before anything connects to a bus
    ASSERT_TRUE(daemon_->ready());
    ASSERT_TRUE(InitDisplay(nullptr, nullptr));
  }
  static void TearDownTestSuite() {
    delete daemon_;
    daemon_ = nullptr;
  }
  void SetUp() override {
    static const WNDCLASS windowClass{0,       SinkProc, 0,       0,       nullptr,
                                      nullptr, nullptr,  nullptr, nullptr, u"JDBUSTEST"};
    RegisterClassW(&windowClass);
    commands.clear();
    sink_ = CreateWindowExW(0, u"JDBUSTEST", u"orvik", WS_VISIBLE, 0, 0, 480, 640, nullptr, nullptr,
                            nullptr, nullptr);
  }
  void TearDown() override {
    daemon_->CloseAll();
    DestroyWindow(sink_);
    ProcessDisplayEvents();
  }
  LONG Show(DWORD id) {
    SHNOTIFICATIONDATA data;
    data.dwID = id;
    data.csDuration = 20;
    data.hwndSink = sink_;
    data.pszHTML = kBody;
    data.pszTitle = u"orvik Messenger";
    return SHNotificationAdd(&data);
  }

  static NotificationDaemon* daemon_;
  HWND sink_ = nullptr;
};

NotificationDaemon* DesktopNotificationTest::daemon_ = nullptr;

TEST_F(DesktopNotificationTest, DefaultActionPostsChatWithTheId) {
  ASSERT_EQ(Show(10042), ERROR_SUCCESS);
  ASSERT_TRUE(RunUntil([] { return daemon_->Displayed() == 1; }, 10));
  ASSERT_TRUE(daemon_->InvokeDefaultAction());
  ASSERT_TRUE(RunUntil([] { return !commands.empty(); }, 10));
  EXPECT_EQ(commands[0], (std::pair<UINT, LPARAM>{114, 10042}));
  SHNotificationRemove(10042);
}

TEST_F(DesktopNotificationTest, ShowsPlainEscapedTextAndRemovalClosesIt) {
  ASSERT_EQ(Show(10043), ERROR_SUCCESS);
  ASSERT_TRUE(RunUntil([] { return daemon_->Displayed() == 1; }, 10));
  ASSERT_EQ(SHNotificationRemove(10043), ERROR_SUCCESS);
  ASSERT_TRUE(RunUntil([] { return daemon_->Displayed() == 0; }, 10));
  std::string history = daemon_->History();
  EXPECT_NE(history.find("\"data\" : \"orvik Messenger\""), std::string::npos) << history;
  EXPECT_NE(history.find("\"data\" : \"bob says: a &lt;b&gt; &amp; c\""), std::string::npos)
      << history;
  EXPECT_EQ(history.find("Chat"), std::string::npos);  // buttons are actions, not text
}

TEST_F(DesktopNotificationTest, RemovedBeforeTheServiceAnswersLeavesNothing) {
  ASSERT_EQ(Show(10044), ERROR_SUCCESS);
  ASSERT_EQ(SHNotificationRemove(10044), ERROR_SUCCESS);  // the Notify reply is still due
  RunUntil([] { return false; }, 1.0);
  EXPECT_EQ(daemon_->Displayed(), 0);
}

}  // namespace
