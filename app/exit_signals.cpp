#include "app/exit_signals.h"

#include <signal.h>

#include <ctime>

namespace {

constexpr UINT kExitCommand = 40005;

sigset_t ExitSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

struct Watch {
  HWND frame;
  HANDLE shutdown;
};

DWORD WatchSignals(void* parameter) {
  Watch watch = *static_cast<Watch*>(parameter);
  delete static_cast<Watch*>(parameter);
  sigset_t set = ExitSignals();
  timespec pause{0, 200 * 1000 * 1000};
  while (WaitForSingleObject(watch.shutdown, 0) == WAIT_TIMEOUT) {
    if (sigtimedwait(&set, nullptr, &pause) > 0) {
      PostMessage(watch.frame, WM_COMMAND, kExitCommand, 0);
    }
  }
  return 0;
}

}  // namespace

void BlockExitSignals() {
  sigset_t set = ExitSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

HANDLE StartExitSignalWatcher(HWND frame, HANDLE shutdown) {
  auto* watch = new Watch{frame, shutdown};
  HANDLE thread = CreateThread(WatchSignals, watch, nullptr);
  if (thread == nullptr) {
    delete watch;
  }
  return thread;
}
