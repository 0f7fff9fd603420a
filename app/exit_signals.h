// Ending the program from the desktop session or a terminal: SIGTERM, SIGINT and SIGHUP ask
// the main frame for the Exit command, so threads end and the debug log closes in order.
#pragma once

#include "platform/kernel.h"
#include "platform/window.h"

// Called first in main, before any thread starts: those signals then reach only the watcher.
void BlockExitSignals();
// A thread that turns those signals into the Exit command for `frame` until `shutdown` is
// signalled; the caller registers it.
HANDLE StartExitSignalWatcher(HWND frame, HANDLE shutdown);
