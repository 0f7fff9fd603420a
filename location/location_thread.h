// The location thread: every "LOCATION UPDATE PERIOD" it starts the receiver when needed,
// publishes a changed valid position to the location service, asks once for the own stored
// position and subscribes to each contact's position. Stopped by an event and joined.
#pragma once

#include <atomic>

#include "platform/message_queue.h"
#include "platform/win32_types.h"

class IJabberHost;
struct MJabberSession;
class MJabberRoster;

// The application's two location flags: `published` is 1 while the current position has been
// published; `ownItemsRequested` is 1 once the service was asked for the own stored position.
// The login clears both at each attempt and at disconnect, so the next pass publishes and asks
// again. Both are cleared when the thread starts.
struct LocationFlags {
  std::atomic<BYTE>* published;
  std::atomic<BYTE>* ownItemsRequested;
};

// Starts the thread unless one runs. Everything handed over must outlive StopLocationThread.
void StartLocationThread(IJabberHost& host, MJabberSession* session, MJabberRoster& roster,
                         LocationFlags flags);
// Signals the thread to stop and waits until it has ended (a pass in progress finishes first).
void StopLocationThread();
// Location threads of this process that are running now (at most one).
int LocationThreadCount();
