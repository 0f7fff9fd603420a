// Sleeping and the millisecond tick count.
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/kernel.h"

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  if (milliseconds == INFINITE) {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::hours(24));
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  // Unsigned arithmetic wraps at 2^32 as the handheld's counter does.
  std::uint64_t milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                               static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(milliseconds);
}
