// Windows and the message queue. A window is addressed by an HWND and has a window procedure;
// messages posted to it from any thread are queued for the thread that created it and handled
// there by GetMessage / DispatchMessage. SendMessage from that same thread calls the window
// procedure at once; from another thread it queues the message and blocks until the owner
// thread has handled it (it handles messages sent to its own windows while it waits).
//
// This layer knows no display: a window created here is message-only. The Qt backend
// attaches a widget to the same window record and wakes the queue's loop through
// SetQueueWakeHandler, so both kinds of window share one queue.
#pragma once

#include "platform/win32_types.h"

struct WindowRecord;
using HWND = WindowRecord*;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct COPYDATASTRUCT {
  UINT_PTR dwData;
  DWORD cbData;
  void* lpData;
};

// Messages of the platform (the application's own start at WM_USER and WM_APP).
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr LONG_PTR GWL_USERDATA = -21;
constexpr LONG_PTR GWL_WNDPROC = -4;

// Parent of a message-only window.
extern const HWND HWND_MESSAGE;

// Window classes: a name and its window procedure. FALSE when the name is taken by another
// procedure.
BOOL RegisterClass(const char* className, WNDPROC procedure);
BOOL UnregisterClass(const char* className);
// A message-only window of a registered class, owned by the calling thread. Sends WM_CREATE.
HWND CreateWindowEx(const char* className, const char* windowName, HWND parent, void* createParam);
// Sends WM_DESTROY, kills its timers, drops its queued messages; the handle becomes invalid.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// The first live window with this class and name, or null (either may be null to match any).
HWND FindWindow(const char* className, const char* windowName);
LONG_PTR GetWindowLongPtr(HWND window, LONG_PTR index);
LONG_PTR SetWindowLongPtr(HWND window, LONG_PTR index, LONG_PTR value);
LRESULT CallWindowProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT with `exitCode` to the calling thread's queue.
void PostQuitMessage(int exitCode);

// Blocks until a message is there. Returns FALSE for WM_QUIT, TRUE otherwise (-1 for a bad
// argument). Messages sent from other threads are handled inside this call; WM_TIMER is
// produced when a timer is due and nothing else is queued.
BOOL GetMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax);
constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);

// A timer of `window` that posts WM_TIMER (wParam = id) every `elapse` ms, or calls `callback`.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback);
BOOL KillTimer(HWND window, UINT_PTR id);

// Called (on any thread) whenever the calling thread's queue gets something to handle, so an
// outside event loop (Qt) can wake and pump it. Null removes the handler.
using QueueWakeHandler = void (*)(void* context);
void SetQueueWakeHandler(QueueWakeHandler handler, void* context);
// Handles everything queued for the calling thread without blocking, as an outside event loop
// does when woken. Returns FALSE when WM_QUIT was found (its code in *exitCode).
BOOL PumpPendingMessages(int* exitCode);
