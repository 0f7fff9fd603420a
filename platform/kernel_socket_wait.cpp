// WaitForSocketOrEvents: one poll() over the socket and the events' eventfds. The kernel
// monitor is not held while sleeping; after every wake-up the events are taken under it, so
// an auto-reset event that another waiter took first just sends this one back to sleep.
#include <poll.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/kernel.h"
#include "platform/kernel_object.h"

namespace {

using Clock = std::chrono::steady_clock;

// The events behind `handles`, or an empty list (and the last error set) when one is not an
// event with a descriptor. The references keep the descriptors open while the thread sleeps.
std::vector<KernelObjectRef> LookupEvents(DWORD count, const HANDLE* handles) {
  std::vector<KernelObjectRef> events;
  std::lock_guard<std::mutex> guard(KernelLock());
  for (DWORD i = 0; i < count; ++i) {
    KernelObjectRef event = LookupHandle(handles[i], KernelObject::Kind::kEvent);
    if (!event || event->eventFd < 0) {
      SetLastError(event ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
      return {};
    }
    events.push_back(std::move(event));
  }
  return events;
}

// WAIT_OBJECT_0 + index of the first signalled event (taking it), or WAIT_TIMEOUT.
DWORD TakeSignalled(const std::vector<KernelObjectRef>& events) {
  std::lock_guard<std::mutex> guard(KernelLock());
  for (DWORD i = 0; i < events.size(); ++i) {
    if (TryAcquire(events[i]) == WAIT_OBJECT_0) {
      return WAIT_OBJECT_0 + i;
    }
  }
  return WAIT_TIMEOUT;
}

// Milliseconds left for poll(): -1 for no limit, rounded up so the wait never ends early.
int PollTimeout(DWORD milliseconds, Clock::time_point deadline) {
  if (milliseconds == INFINITE) {
    return -1;
  }
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 0x7FFFFFFF));
}

}  // namespace

DWORD WaitForSocketOrEvents(int socket, DWORD count, const HANDLE* handles, DWORD milliseconds) {
  if (count > MAXIMUM_WAIT_OBJECTS || (count > 0 && handles == nullptr) ||
      (count == 0 && socket < 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<KernelObjectRef> events = LookupEvents(count, handles);
  if (events.size() != count) {
    return WAIT_FAILED;
  }
  std::vector<pollfd> entries;
  for (const KernelObjectRef& event : events) {
    entries.push_back(pollfd{event->eventFd, POLLIN, 0});
  }
  if (socket >= 0) {
    entries.push_back(pollfd{socket, POLLIN, 0});
  }
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    DWORD taken = TakeSignalled(events);
    if (taken != WAIT_TIMEOUT) {
      return taken;
    }
    int timeout = PollTimeout(milliseconds, deadline);
    int ready = poll(entries.data(), entries.size(), timeout);
    if (ready < 0 && errno != EINTR) {
      return WAIT_FAILED;
    }
    taken = TakeSignalled(events);
    if (taken != WAIT_TIMEOUT) {
      return taken;
    }
    // Hang-up, error or a closed descriptor count as ready: the reader finds out what it was.
    if (socket >= 0 && ready > 0 && entries.back().revents != 0) {
      return WAIT_OBJECT_0 + count;
    }
    if (ready == 0 && timeout >= 0 && PollTimeout(milliseconds, deadline) == 0) {
      return WAIT_TIMEOUT;
    }
  }
}
