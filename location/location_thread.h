// The location thread: every "LOCATION UPDATE PERIOD" it starts the receiver when needed,
// publishes a changed valid position to the location service, asks once for the own stored
// position and subscribes to each contact's position. Stopped by an event and joined.
#pragma once

class IJabberHost;
class MJabberSession;
class MJabberRoster;

void StartLocationThread(IJabberHost& host, MJabberSession* session, MJabberRoster& roster);
void StopLocationThread();
