// The in-window notification bubble: what it shows, what its buttons post, how bubbles stack,
// and that removal hides it.
#include "platform/notification.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>
#include <vector>

#include "platform/qt/qt_notification_body.h"
#include "platform/qt/qt_window.h"
#include "tests/platform_qt/display_support.h"

namespace {

const WCHAR kBody[] =
    u"<html><head><meta http-equiv=\"Content-Type\"content=\"text/html\" /></head><body><form "
    u"method=\"POST\" action=>bob says: a &lt;b&gt; &amp; c<p align=right><input type=button "
    u"name='cmd:114' value='Chat'><input type=button name='cmd:113' value='Close'></p></body>"
    u"</html>";

struct Command {
  UINT id;
  LPARAM lParam;
};
std::vector<Command> commands;

LRESULT SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    commands.push_back({LOWORD(wParam), lParam});
    return 0;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

class NotificationTest : public DisplayTest {
 protected:
  void SetUp() override {
    static const WNDCLASS windowClass{0,       SinkProc, 0,       0,       nullptr,
                                      nullptr, nullptr,  nullptr, nullptr, u"JNOTIFYTEST"};
    RegisterClassW(&windowClass);
    commands.clear();
    sink_ = CreateWindowExW(0, u"JNOTIFYTEST", u"orvik", WS_VISIBLE, 0, 0, 480, 640, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(sink_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(sink_);
    DisplayTest::TearDown();
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
  QWidget* Bubble(DWORD id) {
    return WidgetOf(sink_)->window()->findChild<QWidget*>(QString("notification-%1").arg(id));
  }

  HWND sink_ = nullptr;
};

TEST_F(NotificationTest, BubbleShowsTitleTextAndButtons) {
  ASSERT_EQ(Show(501), ERROR_SUCCESS);
  QWidget* bubble = Bubble(501);
  ASSERT_NE(bubble, nullptr);
  EXPECT_TRUE(SHNotificationVisible(501));
  EXPECT_EQ(bubble->findChild<QLabel*>("title")->text(), "orvik Messenger");
  auto* body = bubble->findChild<QLabel*>("body");
  EXPECT_FALSE(body->text().contains("<input"));
  EXPECT_TRUE(body->text().contains("bob says: a &lt;b&gt; &amp; c"));
  auto buttons = bubble->findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_EQ(buttons[0]->text(), "Chat");
  EXPECT_EQ(buttons[1]->text(), "Close");
  if (const char* shots = std::getenv("ORVIK_SHOTS_DIR")) {
    WidgetOf(sink_)->window()->grab().save(QString(shots) + "/notification_bubble.png");
  }
  EXPECT_EQ(SHNotificationRemove(501), ERROR_SUCCESS);
  EXPECT_FALSE(SHNotificationVisible(501));
  EXPECT_EQ(SHNotificationRemove(501), ERROR_INVALID_PARAMETER);
}

TEST_F(NotificationTest, ButtonsPostTheirCommandWithTheId) {
  ASSERT_EQ(Show(502), ERROR_SUCCESS);
  Bubble(502)->findChild<QPushButton*>("cmd:114")->click();
  ASSERT_TRUE(RunUntil([] { return !commands.empty(); }));
  EXPECT_EQ(commands[0].id, 114u);
  EXPECT_EQ(commands[0].lParam, 502);
  Bubble(502)->findChild<QPushButton*>("cmd:113")->click();
  ASSERT_TRUE(RunUntil([] { return commands.size() == 2; }));
  EXPECT_EQ(commands[1].id, 113u);
  SHNotificationRemove(502);
}

TEST_F(NotificationTest, BubblesStackAndCloseTheGap) {
  ASSERT_EQ(Show(503), ERROR_SUCCESS);
  ASSERT_EQ(Show(504), ERROR_SUCCESS);
  QWidget* older = Bubble(503);
  QWidget* newer = Bubble(504);
  EXPECT_LE(newer->geometry().bottom(), older->geometry().top());
  SHNotificationRemove(503);
  RunUntil([] { return false; }, 0.1);  // the removed bubble is deleted
  EXPECT_EQ(Bubble(504)->geometry().bottom(), WidgetOf(sink_)->window()->height() - 9);
  SHNotificationRemove(504);
}

TEST_F(NotificationTest, ABurstShowsOnlyTheNewestThree) {
  for (DWORD id = 510; id < 515; ++id) {
    ASSERT_EQ(Show(id), ERROR_SUCCESS);
  }
  RunUntil([] { return false; }, 0.1);  // retired bubbles are deleted
  for (DWORD id = 510; id < 515; ++id) {
    EXPECT_EQ(Bubble(id) != nullptr, id >= 512) << id;
    EXPECT_EQ(SHNotificationVisible(id), id >= 512) << id;
  }
  EXPECT_EQ(Bubble(512)->geometry().bottom(), WidgetOf(sink_)->window()->height() - 9);
  for (DWORD id = 510; id < 515; ++id) {
    EXPECT_EQ(SHNotificationRemove(id), ERROR_SUCCESS) << id;  // records outlive their bubbles
  }
}

TEST_F(NotificationTest, ABubbleStaysOverAWindowBroughtForward) {
  ASSERT_EQ(Show(505), ERROR_SUCCESS);
  QWidget* top = WidgetOf(sink_)->window();
  HWND page = CreateWindowExW(0, u"JNOTIFYTEST", u"page", WS_CHILD | WS_VISIBLE, 0, 0, 480, 640,
                              sink_, nullptr, nullptr, nullptr);
  SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  QWidget* bubble = Bubble(505);
  QWidget* atBubble = top->childAt(bubble->geometry().center());
  EXPECT_TRUE(atBubble == bubble || bubble->isAncestorOf(atBubble));
  DestroyWindow(page);
  SHNotificationRemove(505);
}

TEST(NotificationBodyTest, PlainTextAndEscapingForTheDesktop) {
  NotificationBody body = ParseNotificationBody(QString::fromUtf16(kBody));
  EXPECT_EQ(body.plainText, "bob says: a <b> & c");
  EXPECT_EQ(EscapeForDesktopMarkup(body.plainText), "bob says: a &lt;b&gt; &amp; c");
  ASSERT_EQ(body.buttons.size(), 2u);
  EXPECT_EQ(body.buttons[0].command, 114);
  EXPECT_EQ(body.buttons[1].label, "Close");
}

TEST_F(NotificationTest, BadRecordsAreRefused) {
  SHNOTIFICATIONDATA data;
  data.dwID = 505;
  data.hwndSink = sink_;
  EXPECT_EQ(SHNotificationAdd(nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SHNotificationAdd(&data), ERROR_INVALID_PARAMETER);  // no body
  EXPECT_FALSE(SHNotificationVisible(505));
}

}  // namespace
