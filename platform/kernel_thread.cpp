// Threads over detached std::threads. The thread's state is shared by its handle(s) and the
// running thread, so either may go first; a terminated thread that is still running at
// process exit touches only that shared state and the never-destroyed kernel tables.
#include <atomic>
#include <system_error>
#include <thread>

#include "platform/kernel.h"
#include "platform/kernel_object.h"

namespace {

std::atomic<DWORD> nextThreadId{1};
thread_local DWORD currentThreadId = 0;

// Records the thread's end unless TerminateThread already did.
void FinishThread(const KernelObjectRef& thread, DWORD exitCode) {
  std::lock_guard<std::mutex> guard(KernelLock());
  if (!thread->ended) {
    thread->exitCode = exitCode;
    thread->ended = true;
    AnnounceChange(*thread);
  }
}

}  // namespace

DWORD AllocateThreadId() {
  return nextThreadId.fetch_add(1);
}
void SetCurrentThreadId(DWORD id) {
  currentThreadId = id;
}

// Ids come from a counter rather than the kernel's tid, so an id never names a later thread.
DWORD GetCurrentThreadId() {
  if (currentThreadId == 0) {
    currentThreadId = AllocateThreadId();
  }
  return currentThreadId;
}

HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* parameter, DWORD* threadId) {
  if (start == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<KernelObject>(KernelObject::Kind::kThread);
  thread->threadId = AllocateThreadId();
  HANDLE handle;
  {
    std::lock_guard<std::mutex> guard(KernelLock());
    handle = InsertHandle(thread);
  }
  try {
    std::thread([thread, start, parameter] {
      SetCurrentThreadId(thread->threadId);
      DWORD exitCode = start(parameter);
      // Give up held mutexes before the handle is signalled, so that whoever waits for this
      // thread's end finds them free (abandoned).
      AbandonOwnedMutexes();
      FinishThread(thread, exitCode);
    }).detach();
  } catch (const std::system_error&) {
    CloseHandle(handle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (threadId != nullptr) {
    *threadId = thread->threadId;
  }
  return handle;
}

BOOL GetExitCodeThread(HANDLE handle, DWORD* exitCode) {
  std::lock_guard<std::mutex> guard(KernelLock());
  KernelObjectRef thread = LookupHandle(handle, KernelObject::Kind::kThread);
  if (!thread || exitCode == nullptr) {
    return FALSE;
  }
  *exitCode = thread->ended ? thread->exitCode : STILL_ACTIVE;
  return TRUE;
}

BOOL TerminateThread(HANDLE handle, DWORD exitCode) {
  KernelObjectRef thread;
  {
    std::lock_guard<std::mutex> guard(KernelLock());
    thread = LookupHandle(handle, KernelObject::Kind::kThread);
  }
  if (!thread) {
    return FALSE;
  }
  // The thread runs on detached; it keeps whatever mutexes it holds, since it may still be
  // inside the regions they guard.
  FinishThread(thread, exitCode);
  return TRUE;
}
