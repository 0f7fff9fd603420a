// Named mutexes: a process-wide name table of recursive, owner-tracked mutexes.
//
// Each thread keeps a record of the mutexes it owns; when the thread ends (however it was
// started: CreateThread, std::thread or the main thread) the record's destructor abandons
// them, so the next waiter takes the mutex with WAIT_ABANDONED instead of waiting forever.
#include <algorithm>
#include <map>
#include <vector>

#include "platform/kernel.h"
#include "platform/kernel_object.h"

namespace {

struct OwnedMutexes {
  std::vector<KernelObjectRef> mutexes;
  ~OwnedMutexes() { AbandonOwnedMutexes(); }
};

thread_local OwnedMutexes owned;

// Names of live mutexes. Weak: a named mutex lives while a handle (or its owner) holds it.
std::map<std::string, std::weak_ptr<KernelObject>>& Names() {
  static auto* names = new std::map<std::string, std::weak_ptr<KernelObject>>;
  return *names;
}

void ForgetClosedNames() {
  std::erase_if(Names(), [](const auto& entry) { return entry.second.expired(); });
}

}  // namespace

DWORD TryAcquireMutex(const KernelObjectRef& mutex) {
  DWORD self = GetCurrentThreadId();
  if (mutex->owner == self) {
    ++mutex->recursion;
    return WAIT_OBJECT_0;
  }
  if (mutex->owner != 0) {
    return WAIT_TIMEOUT;
  }
  mutex->owner = self;
  mutex->recursion = 1;
  owned.mutexes.push_back(mutex);
  bool abandoned = mutex->abandoned;
  mutex->abandoned = false;
  return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

void AbandonOwnedMutexes() {
  std::lock_guard<std::mutex> guard(KernelLock());
  for (const KernelObjectRef& mutex : owned.mutexes) {
    mutex->owner = 0;
    mutex->recursion = 0;
    mutex->abandoned = true;
    AnnounceChange(*mutex);
  }
  owned.mutexes.clear();
}

HANDLE CreateMutex(BOOL initialOwner, const char* name) {
  std::lock_guard<std::mutex> guard(KernelLock());
  bool named = name != nullptr && name[0] != '\0';
  if (named) {
    auto found = Names().find(name);
    KernelObjectRef existing = found != Names().end() ? found->second.lock() : nullptr;
    if (existing) {
      HANDLE handle = InsertHandle(std::move(existing));
      SetLastError(ERROR_ALREADY_EXISTS);
      return handle;
    }
  }
  auto mutex = std::make_shared<KernelObject>(KernelObject::Kind::kMutex);
  if (named) {
    ForgetClosedNames();
    mutex->name = name;
    Names()[mutex->name] = mutex;
  }
  if (initialOwner) {
    TryAcquireMutex(mutex);
  }
  SetLastError(ERROR_SUCCESS);
  return InsertHandle(std::move(mutex));
}

BOOL ReleaseMutex(HANDLE handle) {
  std::lock_guard<std::mutex> guard(KernelLock());
  KernelObjectRef mutex = LookupHandle(handle, KernelObject::Kind::kMutex);
  if (!mutex) {
    return FALSE;
  }
  if (mutex->owner != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);  // the handheld's "not owner" error
    return FALSE;
  }
  if (--mutex->recursion == 0) {
    mutex->owner = 0;
    std::erase(owned.mutexes, mutex);
    AnnounceChange(*mutex);
  }
  return TRUE;
}
