#include "base/runtime/app_threads.h"

#include <gtest/gtest.h>

#include <chrono>

#include "base/runtime/shutdown_event.h"

namespace {

DWORD QuickThread(void*) {
  return 7;
}

DWORD SleepsUntilShutdown(void* event) {
  static_cast<MShutdownEvent*>(event)->WaitForShutdown(INFINITE);
  return 0;
}

DWORD NeverEnds(void*) {
  for (;;) {
    Sleep(50);
  }
}

double SecondsOf(void (*work)(MAppThreads&), MAppThreads& threads) {
  auto start = std::chrono::steady_clock::now();
  work(threads);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(AppThreads, RegistersEachHandleOnce) {
  MAppThreads threads(1);
  HANDLE thread = CreateThread(QuickThread, nullptr, nullptr);
  threads.RegisterThread(thread);
  threads.RegisterThread(thread);
  EXPECT_EQ(threads.Count(), 1u);
  WaitForSingleObject(thread, INFINITE);
  threads.UnregisterThread(thread);
  EXPECT_EQ(threads.Count(), 0u);
}

TEST(AppThreads, ShutdownEventEndsWorkersPromptly) {
  MAppThreads threads(2);
  MShutdownEvent shutdown;
  for (int i = 0; i < 3; ++i) {
    threads.RegisterThread(CreateThread(SleepsUntilShutdown, &shutdown, nullptr));
  }
  threads.RegisterThread(CreateThread(QuickThread, nullptr, nullptr));
  shutdown.Signal();
  double seconds = SecondsOf([](MAppThreads& t) { t.WaitForThreads(); }, threads);
  EXPECT_EQ(threads.Count(), 0u);
  EXPECT_LT(seconds, 4.0);  // at most a wait or two, never the five-second give-up
}

DWORD EndsSoonAfterShutdown(void* event) {
  static_cast<MShutdownEvent*>(event)->WaitForShutdown(INFINITE);
  Sleep(100);  // still running when the registry first looks
  return 0;
}

// With endless waits a registry that slept instead of waiting on the thread would never
// return; one that waits on the thread returns when the thread ends.
TEST(AppThreads, WaitEndsWhenTheThreadEnds) {
  MAppThreads threads(4);
  threads.waitMilliseconds = INFINITE;
  MShutdownEvent shutdown;
  threads.RegisterThread(CreateThread(EndsSoonAfterShutdown, &shutdown, nullptr));
  shutdown.Signal();
  threads.WaitForThreads();
  EXPECT_EQ(threads.Count(), 0u);
}

TEST(AppThreads, ThreadThatNeverEndsDelaysExitAboutFiveSeconds) {
  MAppThreads threads(3);
  HANDLE stuck = CreateThread(NeverEnds, nullptr, nullptr);
  threads.RegisterThread(stuck);
  double seconds = SecondsOf([](MAppThreads& t) { t.WaitForThreads(); }, threads);
  EXPECT_EQ(threads.Count(), 0u);
  EXPECT_GE(seconds, 4.5);
  EXPECT_LT(seconds, 15.0);
}

TEST(ShutdownEvent, WaitTimesOutThenSeesTheSignal) {
  MShutdownEvent shutdown;
  EXPECT_FALSE(shutdown.IsSignalled());
  EXPECT_FALSE(shutdown.WaitForShutdown(10));
  HANDLE signaller = CreateThread(
      [](void* event) -> DWORD {
        Sleep(50);
        static_cast<MShutdownEvent*>(event)->Signal();
        return 0;
      },
      &shutdown, nullptr);
  EXPECT_TRUE(shutdown.WaitForShutdown(5000));
  EXPECT_TRUE(shutdown.WaitForShutdown(0));  // manual reset: stays signalled
  WaitForSingleObject(signaller, INFINITE);
  CloseHandle(signaller);
}
