// SendMessage across threads: the owner thread handles it, the sender blocks and meanwhile
// handles what is sent to it, and a sender is never left blocked by a window that goes away.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "message_test_support.h"
#include "platform/kernel.h"

namespace {

TEST(SendMessage, FromAWorkerIsHandledOnTheOwnerThreadWhileItPumps) {
  DWORD uiThread = GetCurrentThreadId();
  std::atomic<bool> wrongThread{false};
  MessageHandler handler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    wrongThread = wrongThread || GetCurrentThreadId() != uiThread;
    if (message == kStop) {
      PostQuitMessage(3);
    }
    return static_cast<LRESULT>(wParam * 2);
  };
  HWND window = MakeTestWindow(&handler);
  ASSERT_NE(window, nullptr);
  std::vector<LRESULT> results;
  std::thread worker([&] {
    for (WPARAM i = 1; i <= 100; ++i) {
      results.push_back(SendMessage(window, kPing, i, 0));
    }
    PostMessage(window, kStop, 0, 0);
  });
  MSG message;
  while (GetMessage(&message, nullptr, 0, 0) > 0) {
    DispatchMessage(&message);
  }
  worker.join();
  EXPECT_EQ(message.wParam, 3u);
  ASSERT_EQ(results.size(), 100u);
  for (WPARAM i = 1; i <= 100; ++i) {
    EXPECT_EQ(results[i - 1], static_cast<LRESULT>(i * 2));
  }
  EXPECT_FALSE(wrongThread.load());
  DestroyWindow(window);
}

TEST(SendMessage, OnTheOwnerThreadCallsTheProcedureAtOnce) {
  MessageHandler handler = [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    return static_cast<LRESULT>(wParam + 1);
  };
  HWND window = MakeTestWindow(&handler);
  EXPECT_EQ(SendMessage(window, kPing, 41, 0), 42);
  DestroyWindow(window);
}

// Runs a window on its own thread until the test stops it.
class WindowThread {
 public:
  explicit WindowThread(MessageHandler handler) : handler_(std::move(handler)) {
    thread_ = std::thread([this] {
      window_ = MakeTestWindow(&handler_);
      SetEvent(ready_);
      WaitForSingleObject(start_, INFINITE);
      body_();
      DestroyWindow(window_);
    });
    WaitForSingleObject(ready_, INFINITE);
  }
  ~WindowThread() {
    Join();
    CloseHandle(ready_);
    CloseHandle(start_);
  }
  void Join() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  HWND window() const { return window_; }
  void Run(std::function<void()> body) {
    body_ = std::move(body);
    SetEvent(start_);
  }

 private:
  MessageHandler handler_;
  HWND window_ = nullptr;
  HANDLE ready_ = CreateEvent(TRUE, FALSE);
  HANDLE start_ = CreateEvent(TRUE, FALSE);
  std::function<void()> body_;
  std::thread thread_;
};

TEST(SendMessage, TwoThreadsSendingToEachOtherAtOnceBothGetAnswers) {
  MessageHandler answer = [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    return static_cast<LRESULT>(wParam) + 1000;
  };
  WindowThread a(answer);
  WindowThread b(answer);
  std::atomic<int> arrived{0};
  std::atomic<int> finished{0};
  auto sendMany = [&](HWND target, std::vector<LRESULT>* results) {
    ++arrived;
    while (arrived.load() < 2) {
      std::this_thread::yield();
    }
    for (WPARAM i = 0; i < 200; ++i) {
      results->push_back(SendMessage(target, kPing, i, 0));
    }
    // Keep answering the other thread until it is done too.
    ++finished;
    MSG message;
    while (finished.load() < 2) {
      PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE);
      std::this_thread::yield();
    }
  };
  std::vector<LRESULT> fromA, fromB;
  a.Run([&] { sendMany(b.window(), &fromA); });
  b.Run([&] { sendMany(a.window(), &fromB); });
  // A deadlock would hang here (and the test's time-out would say so).
  a.Join();
  b.Join();
  ASSERT_EQ(fromA.size(), 200u);
  ASSERT_EQ(fromB.size(), 200u);
  for (WPARAM i = 0; i < 200; ++i) {
    EXPECT_EQ(fromA[i], static_cast<LRESULT>(i) + 1000);
    EXPECT_EQ(fromB[i], static_cast<LRESULT>(i) + 1000);
  }
}

TEST(SendMessage, AHandlerMaySendBackToTheBlockedSender) {
  HWND senderWindow = nullptr;
  MessageHandler callBack = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message != kPing) {
      return 0;
    }
    // The sender is blocked in SendMessage to us; it must serve this nested send.
    return SendMessage(senderWindow, kPing, wParam + 1, 0) + 1;
  };
  MessageHandler senderHandler = [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    return static_cast<LRESULT>(wParam) * 10;
  };
  senderWindow = MakeTestWindow(&senderHandler);
  WindowThread other(callBack);
  other.Run([] {
    MSG message;
    while (GetMessage(&message, nullptr, 0, 0) > 0) {
      DispatchMessage(&message);
    }
  });
  EXPECT_EQ(SendMessage(other.window(), kPing, 4, 0), 51);
  PostMessage(other.window(), WM_QUIT, 0, 0);  // GetMessage answers FALSE for any WM_QUIT
  other.Join();
  DestroyWindow(senderWindow);
}

// The wake handler runs on the sending thread right after the message is queued.
void SignalEvent(void* event) {
  SetEvent(static_cast<HANDLE>(event));
}

TEST(SendMessage, SenderGetsZeroWhenTheWindowIsDestroyedBeforeHandlingIt) {
  std::atomic<bool> handled{false};
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == kPing) {
      handled = true;
    }
    return 5;
  };
  HWND window = MakeTestWindow(&handler);
  HANDLE queued = CreateEvent(TRUE, FALSE);
  SetQueueWakeHandler(SignalEvent, queued);
  std::atomic<LRESULT> result{-1};
  std::thread sender([&] { result = SendMessage(window, kPing, 0, 0); });
  ASSERT_EQ(WaitForSingleObject(queued, 3000), WAIT_OBJECT_0);
  SetQueueWakeHandler(nullptr, nullptr);
  EXPECT_TRUE(DestroyWindow(window));
  sender.join();  // would hang if the sender were left blocked
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(handled.load());
  CloseHandle(queued);
}

TEST(SendMessage, SenderGetsZeroWhenTheOwnerThreadEndsWithoutPumping) {
  HWND window = nullptr;
  HANDLE created = CreateEvent(TRUE, FALSE);
  HANDLE queued = CreateEvent(TRUE, FALSE);
  MessageHandler handler = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 5; };
  std::thread owner([&] {
    window = MakeTestWindow(&handler);
    SetQueueWakeHandler(SignalEvent, queued);
    SetEvent(created);
    WaitForSingleObject(queued, INFINITE);
    // Ends without ever looking at its queue.
  });
  WaitForSingleObject(created, INFINITE);
  EXPECT_EQ(SendMessage(window, kPing, 0, 0), 0);
  owner.join();
  EXPECT_FALSE(IsWindow(window));  // a thread's windows go with it
  EXPECT_FALSE(PostMessage(window, kPing, 0, 0));
  CloseHandle(created);
  CloseHandle(queued);
}

TEST(SendMessage, SentMessagesAreServedBeforePostedOnes) {
  std::vector<UINT> order;
  MessageHandler handler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message >= WM_USER) {
      order.push_back(message);
    }
    return 0;
  };
  HWND window = MakeTestWindow(&handler);
  HANDLE queued = CreateEvent(TRUE, FALSE);
  PostMessage(window, kPing, 0, 0);
  SetQueueWakeHandler(SignalEvent, queued);
  std::thread sender([&] { SendMessage(window, kStop, 0, 0); });
  ASSERT_EQ(WaitForSingleObject(queued, 3000), WAIT_OBJECT_0);
  SetQueueWakeHandler(nullptr, nullptr);
  MSG message;
  ASSERT_TRUE(GetMessage(&message, nullptr, 0, 0));
  DispatchMessage(&message);
  sender.join();
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0], kStop);  // handled inside GetMessage, before it returned the post
  EXPECT_EQ(order[1], kPing);
  DestroyWindow(window);
  CloseHandle(queued);
}

TEST(SendMessage, InvalidWindowsGiveZeroAndNeverCrash) {
  MessageHandler handler;
  HWND window = MakeTestWindow(&handler);
  DestroyWindow(window);
  EXPECT_EQ(SendMessage(window, kPing, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(0x5150), kPing, 0, 0), 0);
  EXPECT_EQ(SendMessage(nullptr, kPing, 0, 0), 0);
}

}  // namespace
