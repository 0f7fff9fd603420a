// Waiting on a socket and events together: either side wakes the wait, auto-reset events
// still let exactly one waiter through, time-outs and bad handles are reported.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <utility>

#include "platform/kernel.h"
#include "platform_test_support.h"

namespace {

class SocketWait : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends_), 0);
    events_[0] = CreateEvent(TRUE, FALSE);
    events_[1] = CreateEvent(FALSE, FALSE);
  }
  void TearDown() override {
    for (int end : ends_) {
      if (end >= 0) {
        close(end);
      }
    }
    CloseHandle(events_[0]);
    CloseHandle(events_[1]);
  }
  DWORD Wait(DWORD milliseconds) {
    return WaitForSocketOrEvents(ends_[0], 2, events_, milliseconds);
  }

  int ends_[2] = {-1, -1};
  HANDLE events_[2] = {nullptr, nullptr};  // a manual-reset and an auto-reset event
};

TEST_F(SocketWait, EachSideWakesAWaitWithNoLimit) {
  struct Waker {
    const char* name;
    void (*wake)(SocketWait& test);
    DWORD expected;
  };
  const Waker wakers[] = {
      {"manual event", [](SocketWait& t) { SetEvent(t.events_[0]); }, WAIT_OBJECT_0},
      {"auto event", [](SocketWait& t) { SetEvent(t.events_[1]); }, WAIT_OBJECT_0 + 1},
      {"data", [](SocketWait& t) { EXPECT_EQ(write(t.ends_[1], "x", 1), 1); }, WAIT_OBJECT_0 + 2},
      {"peer closed", [](SocketWait& t) { close(std::exchange(t.ends_[1], -1)); },
       WAIT_OBJECT_0 + 2}};
  for (const Waker& waker : wakers) {
    TearDown();
    SetUp();
    std::atomic<DWORD> result{WAIT_FAILED};
    std::thread waiter([&] { result = Wait(INFINITE); });
    waker.wake(*this);
    waiter.join();
    EXPECT_EQ(result.load(), waker.expected) << waker.name;
  }
}

TEST_F(SocketWait, EventsWinOverWaitingDataAndKeepTheirResetRule) {
  ASSERT_EQ(write(ends_[1], "x", 1), 1);
  SetEvent(events_[0]);
  SetEvent(events_[1]);
  EXPECT_EQ(Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(events_[0], 0), WAIT_OBJECT_0);  // manual: still signalled
  ResetEvent(events_[0]);
  EXPECT_EQ(Wait(0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForSingleObject(events_[1], 0), WAIT_TIMEOUT);  // auto: taken by the wait
  EXPECT_EQ(Wait(0), WAIT_OBJECT_0 + 2);                        // only the data is left
}

TEST_F(SocketWait, TimesOutOnASilentSocket) {
  EXPECT_EQ(Wait(0), WAIT_TIMEOUT);
  EXPECT_EQ(Wait(30), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSocketOrEvents(-1, 1, events_, 30), WAIT_TIMEOUT);
}

TEST_F(SocketWait, AnAutoResetSetReleasesExactlyOneOfTwoKindsOfWaiter) {
  HANDLE stops[2] = {CreateEvent(TRUE, FALSE), CreateEvent(TRUE, FALSE)};
  std::atomic<int> gotShared{0};
  std::atomic<int> returned{0};
  std::thread socketWaiter([&] {
    HANDLE handles[2] = {events_[1], stops[0]};
    if (WaitForSocketOrEvents(ends_[0], 2, handles, INFINITE) == WAIT_OBJECT_0) {
      ++gotShared;
    }
    ++returned;
  });
  std::thread kernelWaiter([&] {
    HANDLE handles[2] = {events_[1], stops[1]};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
      ++gotShared;
    }
    ++returned;
  });
  SetEvent(events_[1]);
  ASSERT_TRUE(Eventually([&] { return returned.load() >= 1; }));
  SetEvent(stops[0]);
  SetEvent(stops[1]);
  socketWaiter.join();
  kernelWaiter.join();
  EXPECT_EQ(gotShared.load(), 1);
  EXPECT_EQ(WaitForSingleObject(events_[1], 0), WAIT_TIMEOUT);
  CloseHandle(stops[0]);
  CloseHandle(stops[1]);
}

TEST_F(SocketWait, BadHandlesAndArgumentsFail) {
  HANDLE mutex = CreateMutex(FALSE, nullptr);
  HANDLE closed = CreateEvent(TRUE, TRUE);
  CloseHandle(closed);
  EXPECT_EQ(WaitForSocketOrEvents(ends_[0], 1, &mutex, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForSocketOrEvents(ends_[0], 1, &closed, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForSocketOrEvents(-1, 0, nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForSocketOrEvents(ends_[0], 0, nullptr, 0), WAIT_TIMEOUT);  // the socket alone
  CloseHandle(mutex);
}

}  // namespace
