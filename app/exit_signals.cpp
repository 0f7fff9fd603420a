#include "app/exit_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

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

// Sleeps until an exit signal arrives or the shutdown event is signalled, never in between.
DWORD WatchSignals(void* parameter) {
  Watch watch = *static_cast<Watch*>(parameter);
  delete static_cast<Watch*>(parameter);
  sigset_t set = ExitSignals();
  int signals = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
  if (signals < 0) {
    return 1;  // the signals stay blocked: the program then ends only through its own Exit
  }
  while (WaitForSocketOrEvents(signals, 1, &watch.shutdown, INFINITE) == WAIT_OBJECT_0 + 1) {
    signalfd_siginfo info;
    if (read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
      PostMessage(watch.frame, WM_COMMAND, kExitCommand, 0);
    }
  }
  close(signals);
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
