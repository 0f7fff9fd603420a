// Events and waits: manual and auto reset, time-outs, waiting for any of several objects.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "platform_test_support.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

TEST(Event, ManualResetReleasesEveryWaiterAndStaysSignalled) {
  HANDLE event = CreateEvent(TRUE, FALSE);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([&] {
      if (WaitForSingleObject(event, 5000) == WAIT_OBJECT_0) {
        ++released;
      }
    });
  }
  SetEvent(event);
  for (auto& waiter : waiters) {
    waiter.join();
  }
  EXPECT_EQ(released.load(), 4);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  ResetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(Event, AutoResetReleasesExactlyOneWaiterPerSet) {
  HANDLE event = CreateEvent(FALSE, FALSE);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] {
      if (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0) {
        ++released;
      }
    });
  }
  for (int expected = 1; expected <= 3; ++expected) {
    SetEvent(event);
    ASSERT_TRUE(Eventually([&] { return released.load() >= expected; }));
    std::this_thread::sleep_for(milliseconds(30));  // room for a wrong second release
    EXPECT_EQ(released.load(), expected);
  }
  for (auto& waiter : waiters) {
    waiter.join();
  }
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);  // the last wait reset it
  CloseHandle(event);
}

TEST(Event, InitiallySignalledAutoResetLetsOneWaitThrough) {
  HANDLE event = CreateEvent(FALSE, TRUE);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(Wait, TimesOutNoEarlierThanAskedAndNotForever) {
  HANDLE event = CreateEvent(TRUE, FALSE);
  HANDLE mutex = CreateMutex(TRUE, nullptr);
  for (HANDLE handle : {event, mutex}) {
    DWORD result = WAIT_FAILED;
    auto start = Clock::now();
    std::thread([&] { result = WaitForSingleObject(handle, 60); }).join();
    auto waited = Clock::now() - start;
    EXPECT_EQ(result, WAIT_TIMEOUT);
    EXPECT_GE(waited, milliseconds(60));
    EXPECT_LT(waited, milliseconds(3000));
  }
  ReleaseMutex(mutex);
  CloseHandle(event);
  CloseHandle(mutex);
}

TEST(Wait, TimedWaitSucceedsWhenSignalledMeanwhile) {
  HANDLE event = CreateEvent(FALSE, FALSE);
  std::thread setter([&] {
    std::this_thread::sleep_for(milliseconds(20));
    SetEvent(event);
  });
  EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
  setter.join();
  CloseHandle(event);
}

TEST(Wait, AnyOfSeveralReportsTheFirstSignalledIndex) {
  HANDLE events[3] = {CreateEvent(FALSE, FALSE), CreateEvent(FALSE, FALSE),
                      CreateEvent(FALSE, FALSE)};
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 10), WAIT_TIMEOUT);
  SetEvent(events[2]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
  // Only the satisfied auto-reset event was reset.
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);

  std::thread setter([&] {
    std::this_thread::sleep_for(milliseconds(20));
    SetEvent(events[0]);
  });
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 5000), WAIT_OBJECT_0);
  setter.join();
  for (HANDLE event : events) {
    CloseHandle(event);
  }
}

DWORD HoldAndEnd(void* mutex) {
  WaitForSingleObject(static_cast<HANDLE>(mutex), INFINITE);
  return 0;
}

TEST(Wait, AnyOfSeveralReportsAnAbandonedMutexByIndex) {
  HANDLE event = CreateEvent(TRUE, FALSE);
  HANDLE mutex = CreateMutex(FALSE, nullptr);
  HANDLE thread = CreateThread(HoldAndEnd, mutex, nullptr);
  WaitForSingleObject(thread, 3000);
  HANDLE handles[2] = {event, mutex};
  EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 1000), WAIT_ABANDONED_0 + 1);
  ReleaseMutex(mutex);
  CloseHandle(thread);
  CloseHandle(event);
  CloseHandle(mutex);
}

TEST(Wait, BadHandlesAndArgumentsFail) {
  HANDLE event = CreateEvent(TRUE, TRUE);
  HANDLE closed = CreateEvent(TRUE, TRUE);
  EXPECT_TRUE(CloseHandle(closed));
  EXPECT_FALSE(CloseHandle(closed));
  EXPECT_EQ(WaitForSingleObject(closed, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x12345), 0), WAIT_FAILED);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  HANDLE both[2] = {event, closed};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForMultipleObjects(1, both, TRUE, 0), WAIT_FAILED);  // wait-all: not offered
  EXPECT_EQ(WaitForMultipleObjects(0, both, FALSE, 0), WAIT_FAILED);
  EXPECT_FALSE(SetEvent(closed));
  // A handle of another kind is not an event.
  HANDLE mutex = CreateMutex(FALSE, nullptr);
  EXPECT_FALSE(SetEvent(mutex));
  EXPECT_FALSE(ReleaseMutex(event));
  CloseHandle(mutex);
  CloseHandle(event);
}

TEST(Wait, ClosingAHandleDoesNotDisturbAWaitOnTheSameObject) {
  HANDLE event = CreateEvent(TRUE, FALSE);
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] { result = WaitForSingleObject(event, 300); });
  std::this_thread::sleep_for(milliseconds(20));
  CloseHandle(event);  // the waiter keeps its reference; its wait simply times out
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_TIMEOUT);
}

}  // namespace
