// The kernel objects behind HANDLE values, and the one monitor that guards them all.
//
// Every state change of every thread, event and mutex happens under `KernelLock()` and is
// announced with `AnnounceChange()`; a wait re-checks its objects on each wake-up. The
// objects are few and their changes rare, so one monitor is simpler and fast enough; a change
// of an object nobody waits on is not announced, so that a worker taking its locks does not
// wake every sleeping thread of the program.
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
  ~KernelObject();
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;

  const Kind kind;
  // Threads blocked in WaitForSingleObject / WaitForMultipleObjects on this object.
  int waiters = 0;
  // Thread: `ended` once its routine returned or it was terminated.
  DWORD threadId = 0;
  DWORD exitCode = STILL_ACTIVE;
  bool ended = false;
  // Event. `eventFd` (an eventfd, -1 if none could be made) is readable exactly while the
  // event is signalled, so poll() can wait on it beside a socket. Change `signalled` only
  // through SetEventSignalled, which keeps the two in step.
  bool manualReset = false;
  bool signalled = false;
  int eventFd = -1;
  // Mutex: owner 0 means free; `abandoned` until the next owner has been told.
  std::string name;
  DWORD owner = 0;
  DWORD recursion = 0;
  bool abandoned = false;
};

using KernelObjectRef = std::shared_ptr<KernelObject>;

std::mutex& KernelLock();
std::condition_variable& KernelChanged();
// Wakes the blocked waits when one of them waits on `object` (call with KernelLock() held).
void AnnounceChange(const KernelObject& object);

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

// WAIT_OBJECT_0 or WAIT_ABANDONED when `object` satisfies a wait (taking a mutex, resetting
// an auto-reset event), WAIT_TIMEOUT when it is not signalled yet (call with KernelLock() held).
DWORD TryAcquire(const KernelObjectRef& object);

// Sets or clears an event's state and its descriptor (call with KernelLock() held).
void SetEventSignalled(KernelObject& event, bool signalled);

// The id of a thread started by CreateThread, set on the new thread before its routine runs.
DWORD AllocateThreadId();
void SetCurrentThreadId(DWORD id);
