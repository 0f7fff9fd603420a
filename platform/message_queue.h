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

// What WM_CREATE carries in lParam; lpCreateParams is CreateWindowEx's createParam.
struct CREATESTRUCT {
  void* lpCreateParams;
  HWND hwndParent;
  const char* lpszName;
  const char* lpszClass;
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
// A message-only window of a registered class, owned by the calling thread. Sends WM_CREATE
// (lParam: a CREATESTRUCT); when the procedure answers it with -1 the window is destroyed and
// null returned. Class and window names compare without regard to ASCII case.
HWND CreateWindowEx(const char* className, const char* windowName, HWND parent, void* createParam);
// Sends WM_DESTROY, kills its timers, drops its queued messages and answers 0 to messages
// that other threads are still waiting to send to it; the handle becomes invalid. Only the
// owner thread may destroy a window (FALSE with ERROR_ACCESS_DENIED otherwise). A thread's
// windows are removed (without WM_DESTROY) when the thread ends.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// The first live window with this class and name, or null (either may be null to match any).
HWND FindWindow(const char* className, const char* windowName);
LONG_PTR GetWindowLongPtr(HWND window, LONG_PTR index);
LONG_PTR SetWindowLongPtr(HWND window, LONG_PTR index, LONG_PTR value);
LRESULT CallWindowProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// FALSE (ERROR_INVALID_HANDLE) for a window that is not (or no longer) there. A null window
// posts a thread message to the calling thread's own queue.
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// 0 when the window is not there, or is destroyed (or its thread ends) before it handled the
// message.
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

// A timer of `window` that produces WM_TIMER (wParam = id) every `elapse` ms (at least 10), or
// calls `callback` when that message is dispatched. Setting an existing id restarts it. The
// message is made when the timer is due and nothing else is queued, so at most one is ever
// pending per timer. A null window makes a thread timer with a new id (the return value).
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback);
BOOL KillTimer(HWND window, UINT_PTR id);
// Milliseconds until the calling thread's next timer is due: 0 when one is due now, INFINITE
// when it has none.
DWORD NextTimerDueIn();

// --- sharing the thread with an outside event loop (Qt) ---------------------------------------
// Called on the posting thread whenever the calling thread's queue gets something to handle:
// a posted or sent message, the quit message, or a change of its timers (SetTimer, KillTimer:
// the loop then asks NextTimerDueIn() again). Null removes the handler. It runs with no lock
// held, may be called a moment after it was removed, and must only wake the loop (for Qt:
// QAbstractEventDispatcher::wakeUp or a queued event), never handle messages itself.
//
// An outside loop that drives the thread: set the wake handler, pump once, and after every
// pump arm a single-shot timer for NextTimerDueIn(); when woken or when that timer fires,
// call PumpPendingMessages.
using QueueWakeHandler = void (*)(void* context);
void SetQueueWakeHandler(QueueWakeHandler handler, void* context);
// Handles what is queued for the calling thread without blocking, as an outside event loop
// does when woken: the sent messages, the posted messages that were there when it started and
// each due timer once (work queued meanwhile wakes the loop again, so the loop's own events
// are not starved). Returns FALSE when WM_QUIT was found (its code in *exitCode).
BOOL PumpPendingMessages(int* exitCode);
// When GetMessage finds nothing to return, it calls this instead of blocking on its own, so a
// thread that runs GetMessage (the program's main loop, a modal loop) keeps the outside loop's
// events flowing: the handler processes them for at most `milliseconds` (INFINITE: until
// woken), and must return once the wake handler has been called, including a call made just
// before it began waiting. Null restores the plain blocking wait.
using QueueWaitHandler = void (*)(void* context, DWORD milliseconds);
void SetQueueWaitHandler(QueueWaitHandler handler, void* context);
