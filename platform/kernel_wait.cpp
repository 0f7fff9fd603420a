// WaitForSingleObject / WaitForMultipleObjects: re-check the objects each time the kernel
// monitor announces a change, until one is signalled or the time is up.
#include <chrono>
#include <vector>

#include "platform/kernel.h"
#include "platform/kernel_object.h"

DWORD TryAcquire(const KernelObjectRef& object) {
  switch (object->kind) {
    case KernelObject::Kind::kThread:
      return object->ended ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    case KernelObject::Kind::kEvent:
      if (!object->signalled) {
        return WAIT_TIMEOUT;
      }
      if (!object->manualReset) {
        SetEventSignalled(*object, false);
      }
      return WAIT_OBJECT_0;
    case KernelObject::Kind::kMutex:
      return TryAcquireMutex(object);
  }
  return WAIT_FAILED;
}

namespace {

using Clock = std::chrono::steady_clock;

// Counts the calling thread as a waiter of each object while it is blocked (KernelLock() is
// held whenever the counts change: at construction, destruction and around the sleeps).
class WaiterMark {
 public:
  explicit WaiterMark(const std::vector<KernelObjectRef>& objects) : objects_(objects) {
    for (const KernelObjectRef& object : objects_) {
      ++object->waiters;
    }
  }
  ~WaiterMark() {
    for (const KernelObjectRef& object : objects_) {
      --object->waiters;
    }
  }
  WaiterMark(const WaiterMark&) = delete;
  WaiterMark& operator=(const WaiterMark&) = delete;

 private:
  const std::vector<KernelObjectRef>& objects_;
};

DWORD WaitForObjects(const std::vector<KernelObjectRef>& objects, DWORD milliseconds,
                     std::unique_lock<std::mutex>& lock) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    for (DWORD i = 0; i < objects.size(); ++i) {
      DWORD result = TryAcquire(objects[i]);
      if (result != WAIT_TIMEOUT) {
        return result + i;
      }
    }
    if (milliseconds == 0) {
      return WAIT_TIMEOUT;  // a look without waiting: no sleep, no wake-up
    }
    WaiterMark mark(objects);
    if (milliseconds == INFINITE) {
      KernelChanged().wait(lock);
    } else if (KernelChanged().wait_until(lock, deadline) == std::cv_status::timeout) {
      // One last look: the change may have come together with the time-out.
      for (DWORD i = 0; i < objects.size(); ++i) {
        DWORD result = TryAcquire(objects[i]);
        if (result != WAIT_TIMEOUT) {
          return result + i;
        }
      }
      return WAIT_TIMEOUT;
    }
  }
}

}  // namespace

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr || waitAll) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::unique_lock<std::mutex> lock(KernelLock());
  // The references keep the objects alive even if another thread closes a handle meanwhile.
  std::vector<KernelObjectRef> objects;
  for (DWORD i = 0; i < count; ++i) {
    KernelObjectRef object = LookupHandle(handles[i]);
    if (!object) {
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  DWORD result = WaitForObjects(objects, milliseconds, lock);
  lock.unlock();
  return result;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}
