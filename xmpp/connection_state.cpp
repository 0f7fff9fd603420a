// Whether the connection is up, and the orderly disconnect.
#include "xmpp/session_loop.h"
#include "xmpp/stream_close.h"

namespace {

bool data_connection_down(MJabberSession* session) {
  DWORD status = cm_status(&session->connection);
  return status >= 0x20 && status <= 0x23;
}

}  // namespace

bool connection_alive(MJabberSession* session) {
  MAppMutexes& mutexes = session->host->Mutexes();
  HANDLE lock = mutexes.CreateAppMutex("CONNECTEDMUTEX", false);
  if (!lock)
    return false;
  bool alive = false;
  DWORD waited = WaitForSingleObject(lock, INFINITE);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
    alive = session->conn && session->conn->fd >= 0 && session->conn->state != JCONN_STATE_OFF &&
            !data_connection_down(session);
  mutexes.CloseAppMutex(lock);
  return alive;
}

void disconnect(MJabberSession* session) {
  MAppMutexes& mutexes = session->host->Mutexes();
  HANDLE lock = mutexes.CreateAppMutex("DISCONNECTMUTEX", false);
  if (!lock)
    return;
  DWORD waited = WaitForSingleObject(lock, INFINITE);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    // The server hears a goodbye, not a dropped line: its log shows a clean close and the
    // contacts get a plain unavailable presence.
    jab_close_stream(session->conn);
    session_trace(session, "::Disconnect...\n");
    session->state = SESSION_OFF;
    WaitForSingleObject(session->loop_ended, 1000);
    session_trace(session, "::Disconnected...\n");
  }
  mutexes.CloseAppMutex(lock);
}
