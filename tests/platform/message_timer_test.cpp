// Timers: periodic WM_TIMER, low priority, no pile-up, KillTimer, callbacks.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "message_test_support.h"
#include "platform/kernel.h"

namespace {

using std::chrono::milliseconds;

TEST(Timer, FiresRepeatedlyUntilKilled) {
  int ticks = 0;
  MessageHandler handler = [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == WM_TIMER && wParam == 5 && ++ticks == 3) {
      EXPECT_TRUE(KillTimer(window, 5));
      PostMessage(window, kStop, 0, 0);
    }
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  EXPECT_EQ(SetTimer(window, 5, 15, nullptr), 5u);
  MSG message;
  DWORD start = GetTickCount();
  while (GetMessage(&message, nullptr, 0, 0) > 0 && message.message != kStop) {
    DispatchMessage(&message);
    ASSERT_LT(GetTickCount() - start, 3000u);
  }
  EXPECT_EQ(ticks, 3);
  std::this_thread::sleep_for(milliseconds(40));
  EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));  // killed: nothing more
  EXPECT_FALSE(KillTimer(window, 5));
  DestroyWindow(window);
}

TEST(Timer, IsLowPriorityAndNeverPilesUp) {
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  SetTimer(window, 1, 10, nullptr);
  std::this_thread::sleep_for(milliseconds(120));  // many periods without pumping
  PostMessage(window, kPing, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kPing);  // the posted message first, though the timer was due
  ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.wParam, 1u);
  EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));  // one, not twelve
  DestroyWindow(window);
}

TEST(Timer, NextDueTimeIsReportedForAnOutsideLoop) {
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  EXPECT_EQ(NextTimerDueIn(), INFINITE);
  SetTimer(window, 1, 200, nullptr);
  DWORD due = NextTimerDueIn();
  EXPECT_GT(due, 0u);
  EXPECT_LE(due, 200u);
  SetTimer(window, 2, 10, nullptr);
  EXPECT_LE(NextTimerDueIn(), 10u);
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(NextTimerDueIn(), 0u);
  DestroyWindow(window);  // takes its timers with it
  EXPECT_EQ(NextTimerDueIn(), INFINITE);
}

int callbackCalls = 0;
void CountingCallback(HWND, UINT, UINT_PTR, DWORD) {
  ++callbackCalls;
}
void NeverSetCallback(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "forged timer ran";
}

TEST(Timer, ThreadTimerCallsItsCallbackWhenDispatched) {
  callbackCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 10, CountingCallback);
  ASSERT_NE(id, 0u);
  MSG message;
  ASSERT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.wParam, id);
  DispatchMessage(&message);
  EXPECT_EQ(callbackCalls, 1);
  EXPECT_TRUE(KillTimer(nullptr, id));

  // A posted WM_TIMER cannot make DispatchMessage call an address of its choosing.
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  PostMessage(window, WM_TIMER, 3, reinterpret_cast<LPARAM>(NeverSetCallback));
  ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
  DispatchMessage(&message);
  DestroyWindow(window);
}

TEST(Timer, SettingAnExistingIdRestartsIt) {
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  SetTimer(window, 1, 10, nullptr);
  SetTimer(window, 1, 100000, nullptr);  // the same timer, now slow
  std::this_thread::sleep_for(milliseconds(30));
  MSG message;
  EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x4444), 1, 10, nullptr), 0u);
  DestroyWindow(window);
}

}  // namespace
