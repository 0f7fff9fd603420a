// The kernel objects behind HANDLE values, and the one monitor that guards them all.
//
// Every state change of every thread, event and mutex happens under `KernelLock()` and is
// announced with `KernelChanged().notify_all()`; a wait re-checks its objects on each wake-up.
// The objects are few and their changes rare, so one monitor is simpler and fast enough.
// Internal to platform/.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32_types.h"

struct KernelObject {
  enum class Kind { kThread, kEvent, kMutex };
  explicit KernelObject(Kind kind) : kind(kind) {}

  const Kind kind;
  // Thread: `ended` once its routine returned or it was terminated.
  DWORD threadId = 0;
  DWORD exitCode = STILL_ACTIVE;
  bool ended = false;
  // Event.
  bool manualReset = false;
  bool signalled = false;
  // Mutex: owner 0 means free; `abandoned` until the next owner has been told.
  std::string name;
  DWORD owner = 0;
  DWORD recursion = 0;
  bool abandoned = false;
};

using KernelObjectRef = std::shared_ptr<KernelObject>;

std::mutex& KernelLock();
std::condition_variable& KernelChanged();

// Handle table (call with KernelLock() held). Handle values are never reused, so a closed
// handle can never reach an object created later.
HANDLE InsertHandle(KernelObjectRef object);
// Null (and ERROR_INVALID_HANDLE) when `handle` is not open or not of `kind`.
KernelObjectRef LookupHandle(HANDLE handle);
KernelObjectRef LookupHandle(HANDLE handle, KernelObject::Kind kind);

// Mutex ownership (call with KernelLock() held). TryAcquireMutex takes the mutex for the
// calling thread when it is free or already the caller's: WAIT_OBJECT_0, WAIT_ABANDONED, or
// WAIT_TIMEOUT when another thread owns it.
DWORD TryAcquireMutex(const KernelObjectRef& mutex);
// Gives up every mutex the calling thread still holds, marking each abandoned. Takes the lock.
void AbandonOwnedMutexes();

// The id of a thread started by CreateThread, set on the new thread before its routine runs.
DWORD AllocateThreadId();
void SetCurrentThreadId(DWORD id);
