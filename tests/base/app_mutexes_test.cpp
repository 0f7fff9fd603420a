#include "base/runtime/app_mutexes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

TEST(AppMutexes, NamesCarryTheInstanceValue) {
  MAppMutexes mutexes(4242);
  EXPECT_EQ(mutexes.KernelName("LBSLOCATIONMUTEX"), "LBSLOCATIONMUTEX4242");
}

TEST(AppMutexes, CriticalRegionPatternLeavesTheMutexFreeForOthers) {
  MAppMutexes mutexes(1);
  // The program's pattern: create owned, wait, work, close. The creation and the wait both
  // take the mutex; closing must leave it free for another thread.
  HANDLE mine = mutexes.CreateAppMutex("IMENUMUTEX", true);
  ASSERT_NE(mine, nullptr);
  ASSERT_EQ(WaitForSingleObject(mine, INFINITE), WAIT_OBJECT_0);
  HANDLE keepOpen = mutexes.CreateAppMutex("IMENUMUTEX", false);  // the object lives on
  mutexes.CloseAppMutex(mine);

  DWORD result = WAIT_FAILED;
  std::thread other([&] {
    result = WaitForSingleObject(keepOpen, 2000);
    if (result == WAIT_OBJECT_0) {
      ReleaseMutex(keepOpen);
    }
  });
  other.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  mutexes.CloseAppMutex(keepOpen);
  EXPECT_EQ(mutexes.Count(), 0u);
}

TEST(AppMutexes, SerialisesRegionsAcrossThreads) {
  MAppMutexes mutexes(2);
  int counter = 0;  // guarded by the named mutex only
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        HANDLE mutex = mutexes.CreateAppMutex("ROSTERMUTEX", true);
        ASSERT_NE(mutex, nullptr);
        ASSERT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0);
        if (inside.fetch_add(1) != 0) {
          overlapped = true;
        }
        ++counter;
        inside.fetch_sub(1);
        mutexes.CloseAppMutex(mutex);
      }
    });
  }
  for (auto& worker : workers) {
    worker.join();
  }
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(counter, 2000);
  EXPECT_EQ(mutexes.Count(), 0u);
}

TEST(AppMutexes, ReleaseAtShutdownFreesHeldMutexes) {
  MAppMutexes mutexes(3);
  HANDLE held = mutexes.CreateAppMutex("ILOGINASYNCMUTEX", false);
  ASSERT_EQ(WaitForSingleObject(held, INFINITE), WAIT_OBJECT_0);
  mutexes.ReleaseAppMutexes();
  DWORD result = WAIT_FAILED;
  std::thread other([&] {
    HANDLE same = CreateMutex(FALSE, mutexes.KernelName("ILOGINASYNCMUTEX").c_str());
    result = WaitForSingleObject(same, 2000);
    ReleaseMutex(same);
    CloseHandle(same);
  });
  other.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_EQ(mutexes.Count(), 1u);  // released, not closed
}
