// The thread registry: every worker thread of the program is registered so that shutdown can
// wait for it. A thread gets five one-second waits; one that still runs after that is
// abandoned (see TerminateThread: a POSIX thread cannot be stopped safely, so it runs on
// detached and ends with the process).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/kernel.h"

class MAppThreads {
 public:
  explicit MAppThreads(std::uintptr_t instance);
  MAppThreads(const MAppThreads&) = delete;
  MAppThreads& operator=(const MAppThreads&) = delete;

  // Adds the handle unless it is already registered; the registry then owns it.
  void RegisterThread(HANDLE thread);
  // Removes the handle and closes it.
  void UnregisterThread(HANDLE thread);
  // At shutdown: waits for every registered thread as described above.
  void WaitForThreads();

  std::size_t Count();

  // How long one of the five waits lasts (1000 ms; tests may shorten it).
  DWORD waitMilliseconds = 1000;

 private:
  HANDLE LockList();
  void UnlockList(HANDLE guard);
  std::vector<HANDLE> Snapshot();

  std::uintptr_t instance_;
  std::vector<HANDLE> threads_;
};
