// Threads, events, named mutexes and waits with the handheld platform's semantics, over
// std::thread and one process-wide wait monitor.
#pragma once

#include "platform/win32_types.h"

// --- handles -------------------------------------------------------------------------------
// Every handle is reference counted: CloseHandle drops the caller's reference; the object
// lives on while a thread runs or another handle (a named mutex opened twice) refers to it.
BOOL CloseHandle(HANDLE handle);

// --- waits ---------------------------------------------------------------------------------
// WAIT_OBJECT_0, WAIT_ABANDONED (a mutex whose owner thread ended holding it; the caller now
// owns it), WAIT_TIMEOUT or WAIT_FAILED (bad handle). A thread is signalled when it has ended;
// an auto-reset event is reset by the wait that it satisfies; a mutex is acquired.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// Wait for any one of `count` handles (waitAll must be FALSE): WAIT_OBJECT_0 + index of the
// first signalled one, WAIT_ABANDONED_0 + index, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// Sleeps in one poll() until `socket` is readable (data, end of stream or an error) or one of
// `count` events is signalled, or `milliseconds` pass, so a worker can wait for data and its
// stop event together without waking up in between. WAIT_OBJECT_0 + index of a signalled
// event (an auto-reset one is reset, as by WaitForMultipleObjects; the events are looked at
// before the socket, so a stop request wins over waiting data), WAIT_OBJECT_0 + count when the
// socket is ready, WAIT_TIMEOUT, or WAIT_FAILED for bad arguments or a handle that is not an
// event. A negative `socket` waits on the events alone.
DWORD WaitForSocketOrEvents(int socket, DWORD count, const HANDLE* events, DWORD milliseconds);

// --- threads -------------------------------------------------------------------------------
using LPTHREAD_START_ROUTINE = DWORD (*)(void* parameter);
// Starts `start(parameter)` on a new thread; its return value becomes the exit code.
HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* parameter, DWORD* threadId);
// STILL_ACTIVE while the thread runs, then its exit code.
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
// A POSIX thread cannot be stopped safely from outside. The thread is abandoned instead: it
// keeps running detached, its handle is signalled at once and reports `exitCode` from then
// on, and it ends with the process. Mutexes it holds stay its own until it really ends (it
// may still be inside the regions they guard).
BOOL TerminateThread(HANDLE thread, DWORD exitCode);
// A process-unique number per thread (never reused for a later thread; not the kernel's tid).
DWORD GetCurrentThreadId();

// --- events --------------------------------------------------------------------------------
// Unnamed events (the program never shares events by name).
HANDLE CreateEvent(BOOL manualReset, BOOL initialState);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// --- named mutexes -------------------------------------------------------------------------
// Create or open the mutex `name` (null or empty: an unnamed one). Opening an existing name
// sets GetLastError() to ERROR_ALREADY_EXISTS and ignores `initialOwner`. The owning thread
// may take it again (each take needs a release); only the owner can release it; when the
// owning thread ends holding it (whatever started it, the main thread included), the next
// waiter gets it with WAIT_ABANDONED. ReleaseMutex by another thread fails with
// ERROR_ACCESS_DENIED. Names are compared exactly.
HANDLE CreateMutex(BOOL initialOwner, const char* name);
BOOL ReleaseMutex(HANDLE mutex);

// --- sleeping and time ---------------------------------------------------------------------
void Sleep(DWORD milliseconds);
// Milliseconds since an arbitrary start (monotonic), wrapping at 2^32.
DWORD GetTickCount();
