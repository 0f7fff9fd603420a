#include "base/runtime/app_mutexes.h"

#include <cstdio>

MAppMutexes::MAppMutexes(std::uintptr_t instance) : instance_(instance) {}

MAppMutexes::~MAppMutexes() {
  for (const Entry& entry : entries_) {
    CloseHandle(entry.handle);
  }
}

mstring MAppMutexes::KernelName(const char* name) const {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "%lu", static_cast<unsigned long>(instance_));
  return mstring(name) + suffix;
}

// The registry's own mutex "JAPPMUTEXES" guards the list. It is taken only while the list is
// touched, never while a caller's mutex is waited on.
HANDLE MAppMutexes::LockList(DWORD milliseconds) {
  HANDLE guard = CreateMutex(FALSE, KernelName("JAPPMUTEXES").c_str());
  if (!guard) {
    return nullptr;
  }
  DWORD result = WaitForSingleObject(guard, milliseconds);
  if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
    CloseHandle(guard);
    return nullptr;
  }
  return guard;
}

void MAppMutexes::UnlockList(HANDLE guard) {
  ReleaseMutex(guard);
  CloseHandle(guard);
}

HANDLE MAppMutexes::CreateAppMutex(const char* name, bool initiallyOwned) {
  HANDLE guard = LockList(INFINITE);
  if (!guard) {
    return nullptr;
  }
  HANDLE mutex = CreateMutex(initiallyOwned ? TRUE : FALSE, KernelName(name).c_str());
  bool existed = GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS);
  if (mutex) {
    entries_.push_back(Entry{mutex, GetCurrentThreadId(), initiallyOwned && !existed});
  }
  UnlockList(guard);
  return mutex;
}

void MAppMutexes::CloseAppMutex(HANDLE mutex) {
  if (!mutex) {
    return;
  }
  HANDLE guard = LockList(INFINITE);
  if (!guard) {
    return;
  }
  // Prefer the entry this thread created: the same mutex may be open on several threads.
  auto found = entries_.end();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->handle == mutex && (found == entries_.end() || it->thread == GetCurrentThreadId())) {
      found = it;
    }
  }
  if (found != entries_.end()) {
    // The caller's wait took the mutex once; a creation that took it as well took it twice.
    // Releasing only once would leave it held by this thread, and every other thread would
    // wait for it until this thread ends.
    ReleaseMutex(mutex);
    if (found->initialHold) {
      ReleaseMutex(mutex);
    }
    CloseHandle(mutex);
    entries_.erase(found);
  }
  UnlockList(guard);
}

void MAppMutexes::ReleaseAppMutexes() {
  HANDLE guard = LockList(3000);
  if (!guard) {
    return;
  }
  for (const Entry& entry : entries_) {
    ReleaseMutex(entry.handle);
  }
  UnlockList(guard);
}

std::size_t MAppMutexes::Count() {
  HANDLE guard = LockList(INFINITE);
  std::size_t count = entries_.size();
  if (guard) {
    UnlockList(guard);
  }
  return count;
}
