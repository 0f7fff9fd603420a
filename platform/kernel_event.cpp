// Unnamed events: manual-reset ones stay signalled for every waiter, auto-reset ones let
// exactly one wait through (the wait resets them, see kernel_wait.cpp).
#include "platform/kernel.h"
#include "platform/kernel_object.h"

namespace {

BOOL SetEventState(HANDLE event, bool signalled) {
  std::lock_guard<std::mutex> guard(KernelLock());
  KernelObjectRef object = LookupHandle(event, KernelObject::Kind::kEvent);
  if (!object) {
    return FALSE;
  }
  object->signalled = signalled;
  if (signalled) {
    KernelChanged().notify_all();
  }
  return TRUE;
}

}  // namespace

HANDLE CreateEvent(BOOL manualReset, BOOL initialState) {
  auto event = std::make_shared<KernelObject>(KernelObject::Kind::kEvent);
  event->manualReset = manualReset != FALSE;
  event->signalled = initialState != FALSE;
  std::lock_guard<std::mutex> guard(KernelLock());
  SetLastError(ERROR_SUCCESS);
  return InsertHandle(std::move(event));
}

BOOL SetEvent(HANDLE event) {
  return SetEventState(event, true);
}
BOOL ResetEvent(HANDLE event) {
  return SetEventState(event, false);
}
