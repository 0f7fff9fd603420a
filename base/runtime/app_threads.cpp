#include "base/runtime/app_threads.h"

#include <algorithm>
#include <cstdio>

MAppThreads::MAppThreads(std::uintptr_t instance) : instance_(instance) {}

HANDLE MAppThreads::LockList() {
  char name[64];
  std::snprintf(name, sizeof name, "JAPPTHREADS%lu", static_cast<unsigned long>(instance_));
  HANDLE guard = CreateMutex(FALSE, name);
  if (!guard) {
    return nullptr;
  }
  DWORD result = WaitForSingleObject(guard, INFINITE);
  if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
    CloseHandle(guard);
    return nullptr;
  }
  return guard;
}

void MAppThreads::UnlockList(HANDLE guard) {
  ReleaseMutex(guard);
  CloseHandle(guard);
}

void MAppThreads::RegisterThread(HANDLE thread) {
  HANDLE guard = LockList();
  if (!guard) {
    return;
  }
  if (thread && std::find(threads_.begin(), threads_.end(), thread) == threads_.end()) {
    threads_.push_back(thread);
  }
  UnlockList(guard);
}

void MAppThreads::UnregisterThread(HANDLE thread) {
  HANDLE guard = LockList();
  if (!guard) {
    return;
  }
  auto found = std::find(threads_.begin(), threads_.end(), thread);
  if (found != threads_.end()) {
    threads_.erase(found);
    CloseHandle(thread);
  }
  UnlockList(guard);
}

std::vector<HANDLE> MAppThreads::Snapshot() {
  std::vector<HANDLE> copy;
  HANDLE guard = LockList();
  if (guard) {
    copy = threads_;
    UnlockList(guard);
  }
  return copy;
}

std::size_t MAppThreads::Count() {
  return Snapshot().size();
}

void MAppThreads::WaitForThreads() {
  HANDLE looking_at = nullptr;
  int looks = 0;
  for (std::vector<HANDLE> copy = Snapshot(); !copy.empty(); copy = Snapshot()) {
    HANDLE thread = copy.front();
    looks = (thread == looking_at) ? looks + 1 : 0;
    looking_at = thread;
    DWORD code = 0;
    if (!GetExitCodeThread(thread, &code) || code != STILL_ACTIVE) {
      UnregisterThread(thread);
    } else if (looks < 5) {
      // On the thread itself, not a sleep: a worker that ends at the shutdown signal ends
      // the wait at once instead of holding every exit for a whole second.
      WaitForSingleObject(thread, waitMilliseconds);
    } else {
      TerminateThread(thread, 0);
      UnregisterThread(thread);
    }
  }
}
