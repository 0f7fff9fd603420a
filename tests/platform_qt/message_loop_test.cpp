// The display's loop and the platform message queue are one loop: messages posted from other
// threads are handled promptly while GetMessage lets Qt wait, a worker's SendMessage blocks
// until the UI thread handled it, and the queue keeps being served inside a loop of Qt's own.
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/dialog.h"
#include "platform/kernel.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/qt/qt_window.h"
#include "tests/platform/message_test_support.h"
#include "tests/platform_qt/display_support.h"

namespace {

class MessageLoopTest : public DisplayTest {};

TEST_F(MessageLoopTest, PostFromWorkerIsHandledWhileTheLoopWaits) {
  std::atomic<int> handled{0};
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == kPing) {
      ++handled;
    }
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  std::thread worker([window] {
    Sleep(100);  // the loop is waiting in Qt by then
    PostMessage(window, kPing, 0, 0);
  });
  EXPECT_TRUE(RunUntil([&] { return handled.load() == 1; }));
  worker.join();
  DestroyWindow(window);
}

TEST_F(MessageLoopTest, SendFromWorkerBlocksUntilHandledAndReturnsTheResult) {
  std::atomic<bool> inside{false};
  MessageHandler handler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == kPing) {
      inside = true;
      return static_cast<LRESULT>(wParam * 2);
    }
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  std::atomic<LRESULT> result{0};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    result = SendMessage(window, kPing, 21, 0);
    returned = true;
  });
  EXPECT_TRUE(RunUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(inside.load());
  EXPECT_EQ(result.load(), 42);
  DestroyWindow(window);
}

TEST_F(MessageLoopTest, TimerFiresWhileTheLoopWaitsInQt) {
  int ticks = 0;
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    ticks += message == WM_TIMER ? 1 : 0;
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  SetTimer(window, 7, 30, nullptr);
  EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));
  KillTimer(window, 7);
  DestroyWindow(window);
}

// A wait that ends because a timer is due (not because the queue was woken) leaves the
// display's pump as it found it: events Qt handles outside GetMessage still serve the queue.
TEST_F(MessageLoopTest, QueueIsServedOutsideTheLoopAfterAWaitForATimer) {
  int pings = 0;
  int ticks = 0;
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    pings += message == kPing ? 1 : 0;
    ticks += message == WM_TIMER ? 1 : 0;
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  SetTimer(window, 5, 20, nullptr);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (ticks == 0 && std::chrono::steady_clock::now() < deadline) {
    MSG message;
    ASSERT_GT(GetMessage(&message, nullptr, 0, 0), 0);
    DispatchMessage(&message);
  }
  KillTimer(window, 5);
  ASSERT_EQ(ticks, 1);
  PostMessage(window, kPing, 0, 0);
  for (int i = 0; i < 20 && pings == 0; ++i) {
    ProcessDisplayEvents();
    Sleep(5);
  }
  EXPECT_EQ(pings, 1);
  DestroyWindow(window);
}

// While a dialog runs its own loop, messages from another thread still arrive, and the
// quit message posted meanwhile is left for the outer loop.
TEST_F(MessageLoopTest, DialogLoopServesTheQueueAndKeepsTheQuitMessage) {
  std::atomic<int> pings{0};
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    pings += message == kPing ? 1 : 0;
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  static const DIALOGITEM items[] = {{u"STATIC", u"Waiting", 100, 0, 10, 10, 100, 20}};
  static const DIALOGTEMPLATE dialog{u"Test", items, 1};
  std::thread worker([window] {
    Sleep(50);
    PostMessage(window, kPing, 0, 0);
  });
  struct Context {
    HWND window;
    std::atomic<int>* pings;
  } context{window, &pings};
  auto procedure = [](HWND dialogWindow, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
    static Context* active = nullptr;
    if (message == WM_INITDIALOG) {
      active = reinterpret_cast<Context*>(lParam);
      SetTimer(dialogWindow, 1, 20, nullptr);
      return TRUE;
    }
    if (message == WM_TIMER && active != nullptr && active->pings->load() > 0) {
      KillTimer(dialogWindow, 1);
      EndDialog(dialogWindow, 77);
      return TRUE;
    }
    return FALSE;
  };
  EXPECT_EQ(DialogBoxIndirectParam(nullptr, &dialog, nullptr, procedure,
                                   reinterpret_cast<LPARAM>(&context)),
            77);
  worker.join();
  EXPECT_EQ(pings.load(), 1);
  DestroyWindow(window);
}

// The owner of an open message box or popup menu may go while it runs (the program exits on a
// signal, handled inside the box's loop): the box or menu goes with it and the call returns.
class OwnerGoesTest : public MessageLoopTest {
 protected:
  void SetUp() override {
    static const WNDCLASS ownerClass{0,       DefWindowProc, 0,       0,       nullptr,
                                     nullptr, nullptr,       nullptr, nullptr, u"JBOXOWNERWND"};
    RegisterClassW(&ownerClass);
    owner_ = CreateWindowExW(0, u"JBOXOWNERWND", u"owner", WS_VISIBLE, 0, 0, 200, 200, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    handler_ = [this](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
      if (message == kPing) {
        DestroyWindow(owner_);
      }
      return 0;
    };
    window_ = MakeTestWindow(&handler_);
    worker_ = std::thread([window = window_] {
      Sleep(100);  // the box or menu is open by then
      PostMessage(window, kPing, 0, 0);
    });
  }
  void TearDown() override {
    worker_.join();
    EXPECT_FALSE(IsWindow(owner_));
    DestroyWindow(window_);
    MessageLoopTest::TearDown();
  }
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  MessageHandler handler_;
  std::thread worker_;
};

TEST_F(OwnerGoesTest, MessageBoxReturnsWhenItsOwnerIsDestroyedMeanwhile) {
  SetMessageBoxAutoAnswer(0);
  EXPECT_EQ(MessageBoxW(owner_, u"Text", u"Caption", MB_OK), IDCANCEL);
}

TEST_F(OwnerGoesTest, PopupMenuReturnsWhenItsOwnerIsDestroyedMeanwhile) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 40008, u"Log On");
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner_, nullptr), 0);
  DestroyMenu(menu);
}

TEST_F(OwnerGoesTest, MenuBarPopupReturnsWhenItsWindowIsDestroyedMeanwhile) {
  HMENU menu = CreateMenu();
  HMENU login = CreatePopupMenu();
  AppendMenuW(login, MF_STRING, 40008, u"Log On");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(login), u"Login");
  HWND bar = CreateMenuBar(owner_, menu);
  QWidget* widget = WidgetOf(bar);
  ASSERT_NE(widget, nullptr);
  QList<QToolButton*> buttons = widget->findChildren<QToolButton*>();
  ASSERT_FALSE(buttons.isEmpty());
  buttons.front()->click();  // the popup's loop runs until the window goes
  EXPECT_FALSE(IsWindow(bar));
}

TEST_F(MessageLoopTest, MessageBoxAnswersAtOnceWhenTestsAskForIt) {
  SetMessageBoxAutoAnswer(IDOK);
  int before = MessageBoxCount();
  EXPECT_EQ(MessageBoxW(nullptr, u"Text", u"Caption", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST),
            IDOK);
  WCHAR text[16];
  WCHAR caption[16];
  UINT type = 0;
  LastMessageBox(text, 16, caption, 16, &type);
  EXPECT_EQ(MessageBoxCount(), before + 1);
  EXPECT_EQ(std::u16string(text), u"Text");
  EXPECT_EQ(std::u16string(caption), u"Caption");
  EXPECT_EQ(type & MB_TOPMOST, MB_TOPMOST);
  SetMessageBoxAutoAnswer(0);
}

}  // namespace
