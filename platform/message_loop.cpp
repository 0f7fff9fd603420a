// GetMessage, PeekMessage, DispatchMessage and the pump an outside event loop calls.
//
// Order of service, as on the handheld: messages sent from other threads (handled on the
// spot), then posted messages in order, then WM_QUIT, then due timers.
#include <algorithm>

#include "platform/kernel.h"
#include "platform/window_record.h"

namespace {

using Clock = std::chrono::steady_clock;

// True when a message was found (and removed when `remove`).
bool LookOnce(const ThreadQueueRef& queue, HWND window, UINT filterMin, UINT filterMax, bool remove,
              MSG* message, std::unique_lock<std::mutex>& lock) {
  ServeSentMessages(queue, lock);
  auto& posted = queue->posted;
  auto match = std::find_if(posted.begin(), posted.end(), [&](const MSG& m) {
    return PassesFilter(m.hwnd, m.message, window, filterMin, filterMax);
  });
  if (match != posted.end()) {
    *message = *match;
    if (remove) {
      posted.erase(match);
    }
    return true;
  }
  if (queue->quitPending && PassesFilter(nullptr, WM_QUIT, nullptr, filterMin, filterMax)) {
    *message =
        MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quitCode), 0, GetTickCount(), POINT{0, 0}};
    if (remove) {
      queue->quitPending = false;
    }
    return true;
  }
  return TakeDueTimer(*queue, window, filterMin, filterMax, remove, message);
}

// Waits until the queue may have something: woken by a post or send, or the next timer that
// passes the filter is due. An outside loop's wait handler does the waiting when there is one.
void WaitForWork(const ThreadQueueRef& queue, HWND window, UINT filterMin, UINT filterMax,
                 std::unique_lock<std::mutex>& lock) {
  Clock::time_point due;
  bool timed = NextTimerDue(*queue, window, filterMin, filterMax, &due);
  if (queue->wait != nullptr) {
    QueueWaitHandler handler = queue->wait;
    void* context = queue->waitContext;
    DWORD milliseconds = INFINITE;
    if (timed) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
      milliseconds = static_cast<DWORD>(std::clamp<std::int64_t>(left, 0, 0x7FFFFFFF));
    }
    lock.unlock();
    handler(context, milliseconds);
    lock.lock();
  } else if (timed) {
    queue->changed.wait_until(lock, due);
  } else {
    queue->changed.wait(lock);
  }
}

}  // namespace

BOOL GetMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  ThreadQueueRef queue = CurrentQueue();
  std::unique_lock<std::mutex> lock(QueueLock());
  if (window != nullptr && LiveWindow(window) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  for (;;) {
    if (LookOnce(queue, window, filterMin, filterMax, true, message, lock)) {
      return message->message == WM_QUIT ? FALSE : TRUE;  // a posted WM_QUIT ends it too
    }
    WaitForWork(queue, window, filterMin, filterMax, lock);
  }
}

BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ThreadQueueRef queue = CurrentQueue();
  std::unique_lock<std::mutex> lock(QueueLock());
  bool remove = (removeFlags & PM_REMOVE) != 0;
  return LookOnce(queue, window, filterMin, filterMax, remove, message, lock) ? TRUE : FALSE;
}

// Nothing to translate: keys arrive from the Qt backend already as characters.
BOOL TranslateMessage(const MSG*) {
  return FALSE;
}

LRESULT DispatchMessage(const MSG* message) {
  if (message == nullptr) {
    return 0;
  }
  ThreadQueueRef self = CurrentQueue();
  std::unique_lock<std::mutex> lock(QueueLock());
  if (message->message == WM_TIMER && message->lParam != 0) {
    auto callback = reinterpret_cast<TIMERPROC>(message->lParam);
    if (!IsTimerCallback(*self, message->hwnd, message->wParam, callback)) {
      return 0;
    }
    lock.unlock();
    callback(message->hwnd, WM_TIMER, message->wParam, message->time);
    return 0;
  }
  WindowRecord* record = LiveWindow(message->hwnd);
  // Window procedures run only on the thread that owns the window.
  if (record == nullptr || record->queue != self || record->procedure == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  WNDPROC procedure = record->procedure;
  lock.unlock();
  return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PumpPendingMessages(int* exitCode) {
  ThreadQueueRef queue = CurrentQueue();
  std::size_t budget;
  {
    std::unique_lock<std::mutex> lock(QueueLock());
    ServeSentMessages(queue, lock);
    budget = queue->posted.size() + queue->timers.size() + (queue->quitPending ? 1 : 0);
  }
  MSG message;
  while (budget-- > 0 && PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      if (exitCode != nullptr) {
        *exitCode = static_cast<int>(message.wParam);
      }
      return FALSE;
    }
    TranslateMessage(&message);
    DispatchMessage(&message);
  }
  return TRUE;
}
