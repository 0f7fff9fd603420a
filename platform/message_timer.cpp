// Timers. A timer is not a queued message: WM_TIMER is made from it when it is due and the
// queue has nothing else, so a slow thread never finds a pile of them.
#include <algorithm>
#include <atomic>

#include "platform/kernel.h"
#include "platform/window_record.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kMinimumElapse = 10;
constexpr UINT kMaximumElapse = 0x7FFFFFFF;
std::atomic<UINT_PTR> nextThreadTimerId{0x7FFF};

QueueTimer* FindTimer(ThreadQueue& queue, HWND window, UINT_PTR id) {
  for (QueueTimer& timer : queue.timers) {
    if (timer.window == window && timer.id == id) {
      return &timer;
    }
  }
  return nullptr;
}

// The queue a timer of `window` lives in (the owner's), or null for a bad window.
ThreadQueue* TimerQueue(HWND window, const ThreadQueueRef& self) {
  if (window == nullptr) {
    return self.get();
  }
  WindowRecord* record = LiveWindow(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return record->queue.get();
}

}  // namespace

bool PassesFilter(HWND messageWindow, UINT message, HWND window, UINT filterMin, UINT filterMax) {
  bool anyMessage = filterMin == 0 && filterMax == 0;
  return (window == nullptr || messageWindow == window) &&
         (anyMessage || (message >= filterMin && message <= filterMax));
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback) {
  ThreadQueueRef self = CurrentQueue();
  PendingWake wake;
  {
    std::lock_guard<std::mutex> guard(QueueLock());
    ThreadQueue* queue = TimerQueue(window, self);
    if (queue == nullptr) {
      return 0;
    }
    auto period = std::chrono::milliseconds(std::clamp(elapse, kMinimumElapse, kMaximumElapse));
    QueueTimer* timer = FindTimer(*queue, window, id);
    if (timer == nullptr) {
      if (window == nullptr) {
        id = nextThreadTimerId.fetch_add(1);
      }
      queue->timers.push_back(QueueTimer{window, id, period, callback, {}});
      timer = &queue->timers.back();
    }
    timer->elapse = period;
    timer->callback = callback;
    timer->due = Clock::now() + period;
    wake = WakeQueue(*queue);
  }
  wake.Run();
  return id != 0 ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  ThreadQueueRef self = CurrentQueue();
  PendingWake wake;
  {
    std::lock_guard<std::mutex> guard(QueueLock());
    ThreadQueue* queue = TimerQueue(window, self);
    if (queue == nullptr) {
      return FALSE;
    }
    QueueTimer* timer = FindTimer(*queue, window, id);
    if (timer == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    queue->timers.erase(queue->timers.begin() + (timer - queue->timers.data()));
    wake = WakeQueue(*queue);
  }
  wake.Run();
  return TRUE;
}

bool NextTimerDue(const ThreadQueue& queue, HWND window, UINT filterMin, UINT filterMax,
                  Clock::time_point* due) {
  bool found = false;
  for (const QueueTimer& timer : queue.timers) {
    if (PassesFilter(timer.window, WM_TIMER, window, filterMin, filterMax) &&
        (!found || timer.due < *due)) {
      *due = timer.due;
      found = true;
    }
  }
  return found;
}

bool TakeDueTimer(ThreadQueue& queue, HWND window, UINT filterMin, UINT filterMax, bool remove,
                  MSG* message) {
  Clock::time_point now = Clock::now();
  QueueTimer* earliest = nullptr;
  for (QueueTimer& timer : queue.timers) {
    if (timer.due <= now && PassesFilter(timer.window, WM_TIMER, window, filterMin, filterMax) &&
        (earliest == nullptr || timer.due < earliest->due)) {
      earliest = &timer;
    }
  }
  if (earliest == nullptr) {
    return false;
  }
  *message =
      MSG{earliest->window, WM_TIMER,   earliest->id, reinterpret_cast<LPARAM>(earliest->callback),
          GetTickCount(),   POINT{0, 0}};
  if (remove) {
    earliest->due = now + earliest->elapse;
  }
  return true;
}

bool IsTimerCallback(const ThreadQueue& queue, HWND window, UINT_PTR id, TIMERPROC callback) {
  return std::any_of(queue.timers.begin(), queue.timers.end(), [&](const QueueTimer& timer) {
    return timer.window == window && timer.id == id && timer.callback == callback;
  });
}

DWORD NextTimerDueIn() {
  ThreadQueueRef self = CurrentQueue();
  std::lock_guard<std::mutex> guard(QueueLock());
  Clock::time_point due;
  if (!NextTimerDue(*self, nullptr, 0, 0, &due)) {
    return INFINITE;
  }
  Clock::time_point now = Clock::now();
  if (due <= now) {
    return 0;
  }
  // Rounded up, so that a loop waking after this long finds the timer due.
  auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
  return static_cast<DWORD>(std::min<std::int64_t>(wait, kMaximumElapse));
}
