// The per-thread message queues: creation on first use, closing when the thread ends, waking
// the owner, and serving messages sent from other threads.
#include "platform/window_record.h"

namespace {

// Closes the thread's queue when the thread ends: its windows go away and every thread still
// waiting to send to them gets 0 instead of waiting forever.
struct QueueHolder {
  ThreadQueueRef queue;
  ~QueueHolder() {
    if (!queue) {
      return;
    }
    std::lock_guard<std::mutex> guard(QueueLock());
    queue->closed = true;
    RetireWindowsOf(queue);
    for (const auto& sent : queue->sent) {
      CompleteSent(sent, 0);
    }
    queue->sent.clear();
    queue->posted.clear();
    queue->timers.clear();
  }
};

thread_local QueueHolder holder;

}  // namespace

std::mutex& QueueLock() {
  static auto* lock = new std::mutex;  // never destroyed: threads may outlive static teardown
  return *lock;
}

ThreadQueueRef CurrentQueue() {
  if (!holder.queue) {
    holder.queue = std::make_shared<ThreadQueue>();
  }
  return holder.queue;
}

PendingWake WakeQueue(ThreadQueue& queue) {
  queue.changed.notify_all();
  return PendingWake{queue.wake, queue.wakeContext};
}

void CompleteSent(const std::shared_ptr<SentMessage>& sent, LRESULT result) {
  sent->result = result;
  sent->done = true;
  sent->sender->changed.notify_all();
}

bool ServeSentMessages(const ThreadQueueRef& queue, std::unique_lock<std::mutex>& lock) {
  bool served = false;
  while (!queue->sent.empty()) {
    std::shared_ptr<SentMessage> sent = queue->sent.front();
    queue->sent.pop_front();
    WindowRecord* record = LiveWindow(sent->message.hwnd);
    WNDPROC procedure = record != nullptr ? record->procedure : nullptr;
    LRESULT result = 0;
    if (procedure != nullptr) {
      const MSG& m = sent->message;
      lock.unlock();
      result = procedure(m.hwnd, m.message, m.wParam, m.lParam);
      lock.lock();
    }
    CompleteSent(sent, result);
    served = true;
  }
  return served;
}

void SetQueueWakeHandler(QueueWakeHandler handler, void* context) {
  ThreadQueueRef queue = CurrentQueue();
  std::lock_guard<std::mutex> guard(QueueLock());
  queue->wake = handler;
  queue->wakeContext = context;
}

void SetQueueWaitHandler(QueueWaitHandler handler, void* context) {
  ThreadQueueRef queue = CurrentQueue();
  std::lock_guard<std::mutex> guard(QueueLock());
  queue->wait = handler;
  queue->waitContext = context;
}
