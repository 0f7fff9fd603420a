// Named mutexes: recursion, ownership, abandonment by every kind of thread, the name table.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/kernel.h"

namespace {

// The result another thread gets from a wait on `mutex` (releasing what it took).
DWORD WaitFromOtherThread(HANDLE mutex, DWORD milliseconds) {
  DWORD result = WAIT_FAILED;
  std::thread([&] {
    result = WaitForSingleObject(mutex, milliseconds);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
      ReleaseMutex(mutex);
    }
  }).join();
  return result;
}

TEST(NamedMutex, OwnerTakesItAgainAndMustReleaseEachTake) {
  HANDLE mutex = CreateMutex(TRUE, "RECURSIONMUTEX");
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0);

  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitFromOtherThread(mutex, 20), WAIT_TIMEOUT);  // one take still held
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitFromOtherThread(mutex, 0), WAIT_OBJECT_0);
  EXPECT_FALSE(ReleaseMutex(mutex));  // no longer the owner
  EXPECT_TRUE(CloseHandle(mutex));
}

TEST(NamedMutex, OnlyTheOwnerCanRelease) {
  HANDLE mutex = CreateMutex(TRUE, "OWNERMUTEX");
  BOOL releasedByOther = TRUE;
  DWORD error = 0;
  std::thread([&] {
    releasedByOther = ReleaseMutex(mutex);
    error = GetLastError();
  }).join();
  EXPECT_FALSE(releasedByOther);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

TEST(NamedMutex, OpeningANameGivesTheSameMutex) {
  HANDLE first = CreateMutex(TRUE, "SHAREDNAME");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = CreateMutex(FALSE, "SHAREDNAME");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);  // a handle of its own, to the same mutex
  EXPECT_EQ(WaitFromOtherThread(second, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(ReleaseMutex(second));  // ownership is the mutex's, not the handle's

  // The name lives while any handle is open, and goes with the last one.
  CloseHandle(first);
  HANDLE third = CreateMutex(FALSE, "SHAREDNAME");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(second);
  CloseHandle(third);
  HANDLE fresh = CreateMutex(FALSE, "SHAREDNAME");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(fresh);
}

TEST(NamedMutex, UnnamedMutexesAreDistinct) {
  HANDLE a = CreateMutex(TRUE, nullptr);
  HANDLE b = CreateMutex(FALSE, "");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitFromOtherThread(b, 0), WAIT_OBJECT_0);
  ReleaseMutex(a);
  CloseHandle(a);
  CloseHandle(b);
}

DWORD TakeAndEnd(void* mutex) {
  WaitForSingleObject(static_cast<HANDLE>(mutex), INFINITE);
  return 0;
}

TEST(NamedMutex, EndOfACreatedThreadAbandonsWhatItHeld) {
  HANDLE mutex = CreateMutex(FALSE, "ABANDONEDBYCREATETHREAD");
  HANDLE thread = CreateThread(TakeAndEnd, mutex, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, 3000), WAIT_OBJECT_0);
  // Free at once when the thread is seen ended; the first taker is told it was abandoned.
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_ABANDONED);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);  // told only once
  ReleaseMutex(mutex);
  CloseHandle(thread);
  CloseHandle(mutex);
}

TEST(NamedMutex, BlockedWaiterGetsTheMutexAbandonedByAStdThread) {
  HANDLE mutex = CreateMutex(FALSE, "ABANDONEDBYSTDTHREAD");
  HANDLE taken = CreateEvent(TRUE, FALSE);
  HANDLE finish = CreateEvent(TRUE, FALSE);
  std::thread owner([&] {
    WaitForSingleObject(mutex, INFINITE);
    WaitForSingleObject(mutex, INFINITE);  // held twice: abandonment frees both takes
    SetEvent(taken);
    WaitForSingleObject(finish, INFINITE);
  });
  ASSERT_EQ(WaitForSingleObject(taken, 3000), WAIT_OBJECT_0);
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] {
    result = WaitForSingleObject(mutex, 5000);
    if (result == WAIT_ABANDONED) {
      EXPECT_TRUE(ReleaseMutex(mutex));
      EXPECT_FALSE(ReleaseMutex(mutex));  // the waiter holds one take, not the owner's two
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the waiter block
  SetEvent(finish);
  owner.join();
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_ABANDONED);
  CloseHandle(taken);
  CloseHandle(finish);
  CloseHandle(mutex);
}

// The main thread too: when it ends (exit) holding a mutex, a waiting thread gets it. This
// runs in a child process, because the main thread must really end.
TEST(NamedMutexDeathTest, EndOfTheMainThreadAbandonsWhatItHeld) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static HANDLE mutex = CreateMutex(TRUE, "ABANDONEDBYMAIN");
        static HANDLE abandoned = CreateEvent(TRUE, FALSE);
        std::thread([] {
          if (WaitForSingleObject(mutex, INFINITE) == WAIT_ABANDONED) {
            SetEvent(abandoned);
          }
        }).detach();
        // Runs after the main thread's thread-local records are gone.
        std::atexit(
            [] { std::_Exit(WaitForSingleObject(abandoned, 3000) == WAIT_OBJECT_0 ? 0 : 3); });
        std::exit(1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
