// Window classes, creating and destroying windows, and the default window procedure.
#include <strings.h>

#include <algorithm>
#include <vector>

#include "platform/window_record.h"

const HWND HWND_MESSAGE = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-3));

namespace {

struct WindowClass {
  std::string name;
  WNDPROC procedure;
};

std::vector<WindowClass>& Classes() {
  static auto* classes = new std::vector<WindowClass>;
  return *classes;
}

WindowClass* FindClass(const char* name) {
  for (WindowClass& entry : Classes()) {
    if (strcasecmp(entry.name.c_str(), name) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace

BOOL RegisterClass(const char* className, WNDPROC procedure) {
  if (className == nullptr || className[0] == '\0' || procedure == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(QueueLock());
  WindowClass* existing = FindClass(className);
  if (existing != nullptr) {
    if (existing->procedure == procedure) {
      return TRUE;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  Classes().push_back(WindowClass{className, procedure});
  return TRUE;
}

BOOL UnregisterClass(const char* className) {
  std::lock_guard<std::mutex> guard(QueueLock());
  WindowClass* existing = className != nullptr ? FindClass(className) : nullptr;
  if (existing == nullptr) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  Classes().erase(Classes().begin() + (existing - Classes().data()));
  return TRUE;
}

namespace {
WindowNativeHook attachHook = nullptr;
WindowNativeHook destroyHook = nullptr;
}  // namespace

void SetWindowNativeHooks(WindowNativeHook attach, WindowNativeHook destroy) {
  attachHook = attach;
  destroyHook = destroy;
}

HWND CreateWindowEx(const char* className, const char* windowName, HWND parent, void* createParam) {
  return CreateWindowWithNative(className, windowName, parent, createParam, nullptr);
}

HWND CreateWindowWithNative(const char* className, const char* windowName, HWND parent,
                            void* createParam, void* native) {
  if (className == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ThreadQueueRef queue = CurrentQueue();
  auto* record = new WindowRecord;
  WNDPROC procedure;
  {
    std::lock_guard<std::mutex> guard(QueueLock());
    WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) {
      delete record;  // never handed out, so it may go
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    record->className = windowClass->name;
    record->windowName = windowName != nullptr ? windowName : "";
    record->procedure = windowClass->procedure;
    record->queue = queue;
    record->native = native;
    procedure = record->procedure;
    InsertWindow(record);
  }
  if (native != nullptr && attachHook != nullptr) {
    attachHook(record, native);
  }
  CREATESTRUCT create{createParam, parent, windowName, className};
  if (procedure(record, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(record);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return record;
}

BOOL DestroyWindow(HWND window) {
  ThreadQueueRef queue = CurrentQueue();
  WNDPROC procedure;
  {
    std::lock_guard<std::mutex> guard(QueueLock());
    WindowRecord* record = LiveWindow(window);
    if (record == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    if (record->queue != queue) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (record->destroying) {
      return TRUE;  // called again from its own WM_DESTROY
    }
    record->destroying = true;
    procedure = record->procedure;
  }
  // The window is still valid while it handles WM_DESTROY.
  procedure(window, WM_DESTROY, 0, 0);
  if (destroyHook != nullptr && window->native != nullptr) {
    void* native = window->native;
    window->native = nullptr;
    destroyHook(window, native);
  }
  std::lock_guard<std::mutex> guard(QueueLock());
  if (LiveWindow(window) != nullptr) {
    RetireWindow(window);
  }
  return TRUE;
}

LRESULT CallWindowProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
  }
  return 0;
}
