// The instance listener and the exit-signal watcher sleep until they have work, still do it,
// and end as soon as the shutdown event is signalled.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "app/exit_signals.h"
#include "app/single_instance.h"
#include "tests/support/temp_home.h"

namespace {

constexpr UINT kExitCommand = 40005;

TEST(WorkerShutdown, InstanceListenerServesAHandOverThenEndsOnShutdown) {
  TempHome home;
  HANDLE shutdown = CreateEvent(TRUE, FALSE);
  MSingleInstance first;
  ASSERT_EQ(first.Claim(""), MSingleInstance::Result::First);
  // No frame: the deliveries answer 0 and the listener still acknowledges the hand-over.
  HANDLE listener = first.StartListening(nullptr, shutdown);
  ASSERT_NE(listener, nullptr);
  MSingleInstance second;
  EXPECT_EQ(second.Claim("-cw anna@example.org"), MSingleInstance::Result::HandedOver);
  SetEvent(shutdown);
  EXPECT_EQ(WaitForSingleObject(listener, INFINITE), WAIT_OBJECT_0);
  CloseHandle(listener);
  CloseHandle(shutdown);
}

int exitCommands = 0;

LRESULT CountExitCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && wParam == kExitCommand) {
    ++exitCommands;
  }
  return DefWindowProc(window, message, wParam, lParam);
}

// In a fresh process of its own, so that no thread of another test takes the signal.
void SignalBecomesExitCommandAndShutdownEndsTheWatcher() {
  BlockExitSignals();
  RegisterClass("JSIGNALTESTWND", CountExitCommands);
  HWND frame = CreateWindowEx("JSIGNALTESTWND", "", HWND_MESSAGE, nullptr);
  HANDLE shutdown = CreateEvent(TRUE, FALSE);
  HANDLE watcher = StartExitSignalWatcher(frame, shutdown);
  if (frame == nullptr || watcher == nullptr) {
    std::_Exit(2);
  }
  kill(getpid(), SIGTERM);
  SetTimer(frame, 1, 20000, nullptr);  // a lost signal fails the test instead of hanging it
  MSG message;
  while (exitCommands == 0 && GetMessage(&message, nullptr, 0, 0) > 0 &&
         message.message != WM_TIMER) {
    DispatchMessage(&message);
  }
  SetEvent(shutdown);
  bool ended = WaitForSingleObject(watcher, INFINITE) == WAIT_OBJECT_0;
  std::_Exit(ended && exitCommands == 1 ? 0 : 1);
}

TEST(WorkerShutdownDeathTest, ExitSignalBecomesTheExitCommandAndShutdownEndsTheWatcher) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(SignalBecomesExitCommandAndShutdownEndsTheWatcher(), testing::ExitedWithCode(0), "");
}

}  // namespace
