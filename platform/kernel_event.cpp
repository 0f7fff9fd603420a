// Unnamed events: manual-reset ones stay signalled for every waiter, auto-reset ones let
// exactly one wait through (the wait resets them, see kernel_wait.cpp). Each event also owns
// an eventfd that is readable while it is signalled, so a thread can sleep in one poll() on a
// socket and its stop event together (kernel_socket_wait.cpp).
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/kernel.h"
#include "platform/kernel_object.h"

namespace {

BOOL SetEventState(HANDLE event, bool signalled) {
  std::lock_guard<std::mutex> guard(KernelLock());
  KernelObjectRef object = LookupHandle(event, KernelObject::Kind::kEvent);
  if (!object) {
    return FALSE;
  }
  SetEventSignalled(*object, signalled);
  if (signalled) {
    AnnounceChange(*object);
  }
  return TRUE;
}

}  // namespace

KernelObject::~KernelObject() {
  if (eventFd >= 0) {
    close(eventFd);
  }
}

void SetEventSignalled(KernelObject& event, bool signalled) {
  if (event.signalled == signalled) {
    return;
  }
  event.signalled = signalled;
  if (event.eventFd < 0) {
    return;
  }
  // The counter is 1 while signalled and 0 otherwise; both calls are non-blocking and cannot
  // fail on a valid eventfd with these values.
  std::uint64_t value = 1;
  if (signalled) {
    [[maybe_unused]] ssize_t written = write(event.eventFd, &value, sizeof value);
  } else {
    [[maybe_unused]] ssize_t read_back = read(event.eventFd, &value, sizeof value);
  }
}

HANDLE CreateEvent(BOOL manualReset, BOOL initialState) {
  auto event = std::make_shared<KernelObject>(KernelObject::Kind::kEvent);
  event->manualReset = manualReset != FALSE;
  // Without a descriptor (out of files) the event still works for every kernel wait; only a
  // wait beside a socket refuses it.
  event->eventFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  SetEventSignalled(*event, initialState != FALSE);
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
