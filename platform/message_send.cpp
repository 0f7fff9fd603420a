// PostMessage, SendMessage and PostQuitMessage.
#include "platform/kernel.h"
#include "platform/window_record.h"

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ThreadQueueRef target = window == nullptr ? CurrentQueue() : nullptr;
  PendingWake wake;
  {
    std::lock_guard<std::mutex> guard(QueueLock());
    if (window != nullptr) {
      WindowRecord* record = LiveWindow(window);
      if (record == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
      }
      target = record->queue;
    }
    target->posted.push_back(MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}});
    wake = WakeQueue(*target);
  }
  wake.Run();
  return TRUE;
}

namespace {

// Queues the message for the window's owner thread and blocks until it has been handled,
// meanwhile handling what other threads send to this one (two threads sending to each other
// would otherwise wait for each other forever).
LRESULT SendToOtherThread(const ThreadQueueRef& self, const ThreadQueueRef& target,
                          const MSG& message, std::unique_lock<std::mutex>& lock) {
  auto sent = std::make_shared<SentMessage>();
  sent->message = message;
  sent->sender = self;
  target->sent.push_back(sent);
  PendingWake wake = WakeQueue(*target);
  lock.unlock();
  wake.Run();
  lock.lock();
  while (!sent->done) {
    if (!ServeSentMessages(self, lock)) {
      self->changed.wait(lock);
    }
  }
  return sent->result;
}

}  // namespace

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ThreadQueueRef self = CurrentQueue();
  std::unique_lock<std::mutex> lock(QueueLock());
  WindowRecord* record = LiveWindow(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (record->queue != self) {
    MSG queued{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
    return SendToOtherThread(self, record->queue, queued, lock);
  }
  WNDPROC procedure = record->procedure;
  lock.unlock();
  return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) {
  ThreadQueueRef self = CurrentQueue();
  PendingWake wake;
  {
    std::lock_guard<std::mutex> guard(QueueLock());
    self->quitPending = true;
    self->quitCode = exitCode;
    wake = WakeQueue(*self);
  }
  wake.Run();
}
