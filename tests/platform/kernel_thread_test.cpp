// Threads (exit codes, termination, ids), the tick count, sleeping and the per-thread error.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/kernel.h"
#include "platform_test_support.h"

namespace {

struct Gate {
  HANDLE go = CreateEvent(TRUE, FALSE);
  std::atomic<DWORD> seenId{0};
  std::atomic<bool> finished{false};
  ~Gate() { CloseHandle(go); }
};

DWORD WaitForGo(void* parameter) {
  auto* gate = static_cast<Gate*>(parameter);
  gate->seenId = GetCurrentThreadId();
  WaitForSingleObject(gate->go, INFINITE);
  gate->finished = true;
  return 7;
}

TEST(Thread, ExitCodeIsStillActiveUntilTheRoutineReturns) {
  Gate gate;
  DWORD id = 0;
  HANDLE thread = CreateThread(WaitForGo, &gate, &id);
  ASSERT_NE(thread, nullptr);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);

  SetEvent(gate.go);
  ASSERT_EQ(WaitForSingleObject(thread, 3000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(gate.seenId.load(), id);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // stays signalled
  CloseHandle(thread);
}

TEST(Thread, TerminatedThreadReportsTheGivenCodeAndRunsOnHarmlessly) {
  auto* gate = new Gate;  // kept until the thread is done with it
  HANDLE thread = CreateThread(WaitForGo, gate, nullptr);
  ASSERT_TRUE(Eventually([&] { return gate->seenId.load() != 0; }));
  EXPECT_TRUE(TerminateThread(thread, 42));
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 42u);

  // When the abandoned thread does end, its own result does not replace the code.
  SetEvent(gate->go);
  ASSERT_TRUE(Eventually([&] { return gate->finished.load(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 42u);
  CloseHandle(thread);
  delete gate;  // the thread's last touch was `finished`
}

DWORD SleepForever(void*) {
  Sleep(INFINITE);
  return 0;
}

TEST(Thread, ATerminatedThreadMayStillRunWhenTheProcessEnds) {
  HANDLE thread = CreateThread(SleepForever, nullptr, nullptr);
  EXPECT_TRUE(TerminateThread(thread, 1));
  EXPECT_TRUE(CloseHandle(thread));
  // The thread sleeps on; the test program exits later with it still running.
}

DWORD ReturnParameter(void* parameter) {
  return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(parameter));
}

TEST(Thread, HandleMayBeClosedBeforeTheThreadEnds) {
  for (int i = 0; i < 50; ++i) {
    HANDLE thread = CreateThread(ReturnParameter, reinterpret_cast<void*>(i), nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
  }
  HANDLE last = CreateThread(ReturnParameter, reinterpret_cast<void*>(99), nullptr);
  ASSERT_EQ(WaitForSingleObject(last, 3000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(last, &code);
  EXPECT_EQ(code, 99u);
  CloseHandle(last);
}

TEST(Thread, BadArgumentsFail) {
  EXPECT_EQ(CreateThread(nullptr, nullptr, nullptr), nullptr);
  DWORD code = 0;
  EXPECT_FALSE(GetExitCodeThread(reinterpret_cast<HANDLE>(0x777), &code));
  HANDLE event = CreateEvent(TRUE, FALSE);
  EXPECT_FALSE(TerminateThread(event, 1));
  CloseHandle(event);
}

TEST(Thread, IdsDifferBetweenThreadsAndStayFixedWithinOne) {
  DWORD main = GetCurrentThreadId();
  EXPECT_EQ(GetCurrentThreadId(), main);
  DWORD other = 0;
  std::thread([&] { other = GetCurrentThreadId(); }).join();
  EXPECT_NE(other, 0u);
  EXPECT_NE(other, main);
}

TEST(Thread, LastErrorIsPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seen = 1;
  std::thread([&] {
    seen = GetLastError();
    SetLastError(ERROR_TIMEOUT);
  }).join();
  EXPECT_EQ(seen, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Time, TickCountIsMonotonicMilliseconds) {
  DWORD before = GetTickCount();
  Sleep(30);
  DWORD elapsed = GetTickCount() - before;  // unsigned: right across a wrap too
  EXPECT_GE(elapsed, 29u);                  // one tick of rounding
  EXPECT_LT(elapsed, 3000u);
}

}  // namespace
