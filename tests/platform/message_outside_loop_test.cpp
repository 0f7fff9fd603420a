// Sharing a thread with an outside event loop: the wake handler, PumpPendingMessages,
// NextTimerDueIn and the wait handler, driven by a small loop standing in for Qt's.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "message_test_support.h"
#include "platform/kernel.h"

namespace {

using std::chrono::milliseconds;

// The outside loop: woken from any thread; a wake that comes before the wait is kept.
struct OutsideLoop {
  std::mutex lock;
  std::condition_variable changed;
  bool woken = false;
  std::atomic<int> wakes{0};
  std::atomic<int> waits{0};

  static void Wake(void* context) {
    auto* loop = static_cast<OutsideLoop*>(context);
    ++loop->wakes;
    std::lock_guard<std::mutex> guard(loop->lock);
    loop->woken = true;
    loop->changed.notify_all();
  }
  // Waits until woken or `timeout` passes (INFINITE: no limit).
  bool WaitForWake(DWORD timeout) {
    std::unique_lock<std::mutex> guard(lock);
    auto isWoken = [this] { return woken; };
    if (timeout == INFINITE) {
      changed.wait(guard, isWoken);
    } else {
      changed.wait_for(guard, milliseconds(timeout), isWoken);
    }
    bool was = woken;
    woken = false;
    return was;
  }
  static void Wait(void* context, DWORD timeout) {
    auto* loop = static_cast<OutsideLoop*>(context);
    ++loop->waits;
    loop->WaitForWake(timeout);
  }
};

TEST(OutsideLoop, DrivesPostsSendsAndTimersThroughWakeAndPump) {
  OutsideLoop loop;
  std::vector<UINT> handled;
  MessageHandler handler = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_CREATE || message == WM_DESTROY) {
      return 0;
    }
    handled.push_back(message);
    if (message == WM_TIMER) {
      KillTimer(window, 1);
      PostQuitMessage(4);
    }
    return 1;
  };
  HWND window = MakeTestWindow(&handler);
  SetQueueWakeHandler(OutsideLoop::Wake, &loop);
  std::thread worker([&] {
    PostMessage(window, kPing, 0, 0);
    EXPECT_EQ(SendMessage(window, kStop, 0, 0), 1);  // answered by a pump on our thread
    SetTimer(window, 1, 20, nullptr);                // wakes the loop to re-arm its timer
  });
  // The loop as a Qt backend would run it.
  int exitCode = -1;
  DWORD start = GetTickCount();
  while (PumpPendingMessages(&exitCode)) {
    ASSERT_LT(GetTickCount() - start, 5000u);
    loop.WaitForWake(NextTimerDueIn());
  }
  worker.join();
  SetQueueWakeHandler(nullptr, nullptr);
  EXPECT_EQ(exitCode, 4);
  // The post and the send may meet in one pump, where the send goes first.
  ASSERT_EQ(handled.size(), 3u);
  EXPECT_TRUE((handled[0] == kPing && handled[1] == kStop) ||
              (handled[0] == kStop && handled[1] == kPing));
  EXPECT_EQ(handled[2], static_cast<UINT>(WM_TIMER));
  EXPECT_GE(loop.wakes.load(), 3);
  DestroyWindow(window);
}

TEST(OutsideLoop, PumpHandlesOnlyWhatWasThereSoTheLoopIsNotStarved) {
  int handled = 0;
  MessageHandler handler = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == kPing) {
      ++handled;
      PostMessage(window, kPing, 0, 0);  // every message queues another
    }
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  PostMessage(window, kPing, 0, 0);
  PostMessage(window, kPing, 0, 0);
  int exitCode = 0;
  EXPECT_TRUE(PumpPendingMessages(&exitCode));  // returns instead of running forever
  EXPECT_EQ(handled, 2);
  DestroyWindow(window);  // drops the rest
}

TEST(OutsideLoop, GetMessageWaitsThroughTheWaitHandler) {
  OutsideLoop loop;
  SetQueueWakeHandler(OutsideLoop::Wake, &loop);
  SetQueueWaitHandler(OutsideLoop::Wait, &loop);
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  std::thread poster([window] {
    std::this_thread::sleep_for(milliseconds(30));
    PostMessage(window, kPing, 0, 0);
  });
  MSG message;
  EXPECT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, kPing);
  poster.join();
  EXPECT_GE(loop.waits.load(), 1);

  // With a timer the handler is given its due time, and GetMessage returns WM_TIMER.
  SetTimer(window, 2, 20, nullptr);
  EXPECT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_TIMER));
  SetQueueWaitHandler(nullptr, nullptr);
  SetQueueWakeHandler(nullptr, nullptr);
  DestroyWindow(window);
}

}  // namespace
