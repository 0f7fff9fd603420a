// The records behind HWND values and the per-thread message queues. Internal to platform/;
// the Qt backend extends a window record with its widget through this header.
//
// One lock (`QueueLock()`) guards every queue, the window table and the class table; each
// queue has its own condition variable, which its owner thread waits on (in GetMessage and
// while blocked in SendMessage). Window procedures and wake handlers are always called with
// the lock released.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/message_queue.h"

struct ThreadQueue;

// A message sent from another thread: the sender blocks until `done`.
struct SentMessage {
  MSG message{};
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<ThreadQueue> sender;  // woken when done
};

struct QueueTimer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  std::chrono::milliseconds elapse{0};
  TIMERPROC callback = nullptr;
  std::chrono::steady_clock::time_point due;
};

struct ThreadQueue {
  std::condition_variable changed;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;  // from other threads, served first
  std::vector<QueueTimer> timers;
  bool quitPending = false;
  int quitCode = 0;
  bool closed = false;  // the owner thread has ended
  QueueWakeHandler wake = nullptr;
  void* wakeContext = nullptr;
  QueueWaitHandler wait = nullptr;
  void* waitContext = nullptr;
};

using ThreadQueueRef = std::shared_ptr<ThreadQueue>;

struct WindowRecord {
  std::string className;
  std::string windowName;
  WNDPROC procedure = nullptr;
  LONG_PTR userData = 0;
  ThreadQueueRef queue;        // of the creating thread
  std::uint64_t sequence = 0;  // creation order, for FindWindow
  bool destroying = false;
  // The display backend's state of this window (the Qt widget and what goes with it), set
  // before WM_CREATE by CreateWindowWithNative and released by the destroy hook; null for a
  // message-only window. Touched only on the owner thread.
  void* native = nullptr;
};

// --- the display backend's hook (window_class.cpp) ----------------------------------------
// CreateWindowEx with the backend's state attached before WM_CREATE is sent, so a window
// procedure can already measure and draw its window while it handles WM_CREATE.
HWND CreateWindowWithNative(const char* className, const char* windowName, HWND parent,
                            void* createParam, void* native);
// The backend's two hooks, one pair per process, both called on the owner thread with no
// lock held: `attach` when the record of a window with native state exists, before WM_CREATE
// (so the backend learns the HWND of its widget); `destroy` by DestroyWindow after WM_DESTROY,
// while the window is still valid, so the backend can take its widget down.
using WindowNativeHook = void (*)(HWND window, void* native);
void SetWindowNativeHooks(WindowNativeHook attach, WindowNativeHook destroy);

std::mutex& QueueLock();
// The calling thread's queue, created on first use; closed when the thread ends.
ThreadQueueRef CurrentQueue();

// Window table (call with QueueLock() held). Null when `window` is not a live window (the
// last error is left alone). Records are never freed, so a stale HWND can never reach a
// window created later at the same address.
WindowRecord* LiveWindow(HWND window);
// Adds a new window to the table (lock held).
void InsertWindow(WindowRecord* record);
// Retires every window of a queue whose thread has ended.
void RetireWindowsOf(const ThreadQueueRef& queue);

// The wake handler to call, once the lock is released, for a queue that just got work.
struct PendingWake {
  QueueWakeHandler handler = nullptr;
  void* context = nullptr;
  void Run() const {
    if (handler != nullptr) {
      handler(context);
    }
  }
};
// Wakes the owner thread of `queue` if it waits, and returns its wake handler (lock held).
PendingWake WakeQueue(ThreadQueue& queue);
// Completes a message sent from another thread and wakes its sender (lock held).
void CompleteSent(const std::shared_ptr<SentMessage>& sent, LRESULT result);
// Handles every message other threads sent to the calling thread. Lock held on entry and
// exit; released around each window procedure. True when at least one was handled.
bool ServeSentMessages(const ThreadQueueRef& queue, std::unique_lock<std::mutex>& lock);
// Removes a window from the table: drops its posted messages and timers and answers the
// messages still waiting to be sent to it with 0 (lock held).
void RetireWindow(WindowRecord* record);

// Timers (lock held): the first due timer of `queue` that passes the filter, made into a
// WM_TIMER message (and rescheduled when `remove`); and the time of the next due timer.
// Only timers whose messages pass the filter (window, message range) count.
bool TakeDueTimer(ThreadQueue& queue, HWND window, UINT filterMin, UINT filterMax, bool remove,
                  MSG* message);
bool NextTimerDue(const ThreadQueue& queue, HWND window, UINT filterMin, UINT filterMax,
                  std::chrono::steady_clock::time_point* due);
// True when `callback` belongs to a live timer of `queue` (a posted WM_TIMER cannot make
// DispatchMessage call an arbitrary address).
bool IsTimerCallback(const ThreadQueue& queue, HWND window, UINT_PTR id, TIMERPROC callback);
// The message filter of GetMessage and PeekMessage.
bool PassesFilter(HWND messageWindow, UINT message, HWND window, UINT filterMin, UINT filterMax);
