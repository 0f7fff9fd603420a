// Posting, the message loop and the window table.
#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "message_test_support.h"
#include "platform/kernel.h"

namespace {

TEST(PostMessage, ManySendersLoseNothingAndKeepEachSendersOrder) {
  constexpr int kSenders = 8;
  constexpr int kEach = 2000;
  std::map<WPARAM, std::vector<LPARAM>> received;
  MessageHandler handler = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == kPing) {
      received[wParam].push_back(lParam);
    }
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s) {
    senders.emplace_back([window, s] {
      for (int i = 0; i < kEach; ++i) {
        EXPECT_TRUE(PostMessage(window, kPing, static_cast<WPARAM>(s), i));
      }
    });
  }
  int total = 0;
  MSG message;
  while (total < kSenders * kEach && GetMessage(&message, nullptr, 0, 0) > 0) {
    DispatchMessage(&message);
    ++total;
  }
  for (auto& sender : senders) {
    sender.join();
  }
  ASSERT_EQ(received.size(), static_cast<std::size_t>(kSenders));
  for (const auto& [sender, values] : received) {
    ASSERT_EQ(values.size(), static_cast<std::size_t>(kEach)) << "sender " << sender;
    for (int i = 0; i < kEach; ++i) {
      ASSERT_EQ(values[i], i) << "sender " << sender;
    }
  }
  DestroyWindow(window);
}

TEST(PostMessage, QuitEndsGetMessageWithItsCodeAfterTheMessagesBeforeIt) {
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  PostMessage(window, kPing, 1, 0);
  PostQuitMessage(18);
  PostMessage(window, kPing, 2, 0);  // posted messages still come before the quit
  MSG message;
  ASSERT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.wParam, 1u);
  ASSERT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.wParam, 2u);
  EXPECT_EQ(GetMessage(&message, nullptr, 0, 0), FALSE);
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 18u);
  EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));  // taken once
  DestroyWindow(window);
}

TEST(PostMessage, GetMessageBlocksWithoutSpinning) {
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  std::thread poster([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PostMessage(window, kPing, 0, 0);
  });
  timespec before{}, after{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
  MSG message;
  EXPECT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
  poster.join();
  double cpuSeconds = (after.tv_sec - before.tv_sec) + (after.tv_nsec - before.tv_nsec) / 1e9;
  EXPECT_LT(cpuSeconds, 0.1);  // a busy wait would burn most of the 300 ms
  DestroyWindow(window);
}

TEST(PostMessage, PeekAndFiltersSelectByWindowAndRange) {
  MessageHandler handler;
  HWND first = MakeTestWindow(&handler);
  HWND second = MakeTestWindow(&handler);
  PostMessage(first, kPing, 1, 0);
  PostMessage(second, kStop, 2, 0);
  MSG message;
  ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.wParam, 1u);
  ASSERT_TRUE(PeekMessage(&message, second, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.wParam, 2u);
  EXPECT_FALSE(PeekMessage(&message, nullptr, kStop, kStop, PM_REMOVE));
  ASSERT_TRUE(GetMessage(&message, nullptr, kPing, kPing));
  EXPECT_EQ(message.hwnd, first);
  EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessage(nullptr, nullptr, 0, 0), -1);
  DestroyWindow(first);
  EXPECT_EQ(GetMessage(&message, first, 0, 0), -1);
  DestroyWindow(second);
}

TEST(PostMessage, DestroyedAndBogusWindowsRefusePostsAndDropTheirQueue) {
  int handled = 0;
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    handled += message == kPing;
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  PostMessage(window, kPing, 0, 0);
  EXPECT_TRUE(DestroyWindow(window));
  MSG message;
  EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));  // dropped with the window
  EXPECT_FALSE(PostMessage(window, kPing, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0xdead0), kPing, 0, 0));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(handled, 0);

  // A stale handle never reaches a window created afterwards.
  HWND later = MakeTestWindow(&handler);
  EXPECT_NE(later, window);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(later));
  MSG forged{window, kPing, 0, 0, 0, {0, 0}};
  EXPECT_EQ(DispatchMessage(&forged), 0);
  EXPECT_EQ(handled, 0);
  DestroyWindow(later);
}

TEST(PostMessage, ANullWindowPostsToTheThreadItself) {
  PostMessage(nullptr, kPing, 9, 0);
  MSG message;
  ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_EQ(message.wParam, 9u);
  EXPECT_EQ(DispatchMessage(&message), 0);
}

TEST(Window, CreationPassesItsParameterAndMayBeRefused) {
  int created = 0;
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    created += message == WM_CREATE;
    return 0;
  };
  HWND window = MakeTestWindow(&handler);  // the helper reads lpCreateParams
  EXPECT_EQ(created, 1);
  EXPECT_EQ(GetWindowLongPtr(window, GWL_USERDATA), reinterpret_cast<LONG_PTR>(&handler));
  DestroyWindow(window);

  int destroyed = 0;
  MessageHandler refuse = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    destroyed += message == WM_DESTROY;
    return message == WM_CREATE ? -1 : 0;
  };
  EXPECT_EQ(MakeTestWindow(&refuse), nullptr);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(CreateWindowEx("JNOSUCHCLASS", "", HWND_MESSAGE, nullptr), nullptr);
}

TEST(Window, FindWindowMatchesClassAndNameIgnoringCase) {
  MessageHandler handler;
  HWND main = MakeTestWindow(&handler, "orvik Messenger");
  HWND log = MakeTestWindow(&handler, "Log");
  EXPECT_EQ(FindWindow("JTESTWND", "orvik Messenger"), main);
  EXPECT_EQ(FindWindow("jtestwnd", "LOG"), log);
  EXPECT_EQ(FindWindow(nullptr, "Log"), log);
  EXPECT_EQ(FindWindow("JTESTWND", nullptr), main);  // the first one created
  EXPECT_EQ(FindWindow("JOTHER", nullptr), nullptr);
  DestroyWindow(main);
  EXPECT_EQ(FindWindow(nullptr, "orvik Messenger"), nullptr);
  DestroyWindow(log);
}

LRESULT OtherProc(HWND, UINT, WPARAM, LPARAM) {
  return 77;
}

TEST(Window, ClassesAndSubclassing) {
  EXPECT_TRUE(RegisterClass("JTESTWND", TestWindowProc));  // same procedure: fine
  EXPECT_FALSE(RegisterClass("jtestwnd", OtherProc));      // taken
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  LONG_PTR old = SetWindowLongPtr(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(OtherProc));
  EXPECT_EQ(old, reinterpret_cast<LONG_PTR>(TestWindowProc));
  EXPECT_EQ(SendMessage(window, kPing, 0, 0), 77);
  EXPECT_EQ(CallWindowProc(reinterpret_cast<WNDPROC>(old), window, kPing, 0, 0), 0);
  SetWindowLongPtr(window, GWL_WNDPROC, old);
  EXPECT_EQ(GetWindowLongPtr(window, 12345), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  // DefWindowProc closes a window on WM_CLOSE.
  SendMessage(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
}

TEST(Window, OnlyTheOwnerThreadDestroysOrDispatchesToIt) {
  int handled = 0;
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    return message == kPing ? ++handled : 0;
  };
  HWND window = MakeTestWindow(&handler);
  BOOL destroyed = TRUE;
  LRESULT dispatched = -1;
  std::thread([&] {
    destroyed = DestroyWindow(window);
    MSG message{window, kPing, 0, 0, 0, {0, 0}};
    dispatched = DispatchMessage(&message);
  }).join();
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(dispatched, 0);
  EXPECT_EQ(handled, 0);
  EXPECT_TRUE(DestroyWindow(window));
}

}  // namespace
