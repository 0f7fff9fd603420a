// The table of live windows: lookup, retirement, FindWindow and the window long pointers.
#include <strings.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "platform/window_record.h"

namespace {

std::unordered_set<WindowRecord*>& Live() {
  static auto* live = new std::unordered_set<WindowRecord*>;
  return *live;
}

// Destroyed windows' records, kept so that their addresses are never handed out again.
std::vector<WindowRecord*>& Retired() {
  static auto* retired = new std::vector<WindowRecord*>;
  return *retired;
}

bool NameMatches(const char* wanted, const std::string& name) {
  return wanted == nullptr || strcasecmp(wanted, name.c_str()) == 0;
}

}  // namespace

WindowRecord* LiveWindow(HWND window) {
  return Live().count(window) != 0 ? window : nullptr;
}

// Called only through CreateWindowEx (window_class.cpp).
void InsertWindow(WindowRecord* record) {
  static std::uint64_t sequence = 0;
  record->sequence = ++sequence;
  Live().insert(record);
}

void RetireWindow(WindowRecord* record) {
  Live().erase(record);
  ThreadQueue& queue = *record->queue;
  std::erase_if(queue.posted, [record](const MSG& m) { return m.hwnd == record; });
  std::erase_if(queue.timers, [record](const QueueTimer& t) { return t.window == record; });
  std::erase_if(queue.sent, [record](const std::shared_ptr<SentMessage>& sent) {
    if (sent->message.hwnd != record) {
      return false;
    }
    CompleteSent(sent, 0);
    return true;
  });
  // The record itself stays allocated (see LiveWindow); only its contents go.
  Retired().push_back(record);
  record->className = std::string();
  record->windowName = std::string();
  record->procedure = nullptr;
  record->queue.reset();
}

void RetireWindowsOf(const ThreadQueueRef& queue) {
  std::vector<WindowRecord*> owned;
  for (WindowRecord* record : Live()) {
    if (record->queue == queue) {
      owned.push_back(record);
    }
  }
  for (WindowRecord* record : owned) {
    RetireWindow(record);
  }
}

BOOL IsWindow(HWND window) {
  std::lock_guard<std::mutex> guard(QueueLock());
  return LiveWindow(window) != nullptr ? TRUE : FALSE;
}

HWND FindWindow(const char* className, const char* windowName) {
  std::lock_guard<std::mutex> guard(QueueLock());
  WindowRecord* first = nullptr;
  for (WindowRecord* record : Live()) {
    if (NameMatches(className, record->className) && NameMatches(windowName, record->windowName) &&
        (first == nullptr || record->sequence < first->sequence)) {
      first = record;
    }
  }
  return first;
}

LONG_PTR GetWindowLongPtr(HWND window, LONG_PTR index) {
  std::lock_guard<std::mutex> guard(QueueLock());
  WindowRecord* record = LiveWindow(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (index == GWL_USERDATA) {
    return record->userData;
  }
  if (index == GWL_WNDPROC) {
    return reinterpret_cast<LONG_PTR>(record->procedure);
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return 0;
}

LONG_PTR SetWindowLongPtr(HWND window, LONG_PTR index, LONG_PTR value) {
  std::lock_guard<std::mutex> guard(QueueLock());
  WindowRecord* record = LiveWindow(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);  // a previous value of 0 is not a failure
  LONG_PTR previous = 0;
  if (index == GWL_USERDATA) {
    previous = record->userData;
    record->userData = value;
  } else if (index == GWL_WNDPROC && value != 0) {
    previous = reinterpret_cast<LONG_PTR>(record->procedure);
    record->procedure = reinterpret_cast<WNDPROC>(value);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
  }
  return previous;
}
