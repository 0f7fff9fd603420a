// The five connection callbacks of the session, and its trace writer.
#include <string>

#include "xmpp/credential_mask.h"
#include "xmpp/engine_route.h"
#include "xmpp/negotiation.h"
#include "xmpp/session_loop.h"

namespace {

MJabberSession* owner_of(jconn* c) {
  return static_cast<MJabberSession*>(c->owner);
}

// Runs `work` under the named lock `name`; writes `missing` to the trace when the lock cannot
// be had.
template <typename Work>
void under_named_lock(MJabberSession* session, const char* name, const char* missing, Work work) {
  MAppMutexes& mutexes = session->host->Mutexes();
  HANDLE lock = mutexes.CreateAppMutex(name, false);
  if (!lock) {
    session_trace(session, missing);
    return;
  }
  DWORD waited = WaitForSingleObject(lock, INFINITE);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
    work();
  mutexes.CloseAppMutex(lock);
}

void event_state_handler(jconn* c, int state) {
  MJabberSession* session = owner_of(c);
  under_named_lock(session, "IEVENTSTATEMUTEX", "\nevent_state_handler MUTEX NULL\n", [&] {
    if (state == JCONN_EVENT_STREAM_OPEN)
      session_stream_open(session);
    else if (state == JCONN_EVENT_FAILED)
      session_end_stream(session, c->error_text);
  });
}

void event_packet_handler(jconn* c, packet* p) {
  MJabberSession* session = owner_of(c);
  EnterCriticalSection(&session->dispatch_lock);
  session_dispatch(session, p);
  LeaveCriticalSection(&session->dispatch_lock);
}

void event_output_handler(jconn* c, const char*, size_t, int) {
  MJabberSession* session = owner_of(c);
  under_named_lock(session, "IEVENTOUTPUTMUTEX", "jabber_event_output_handler MUTEX NULL\n",
                   [&] { session->last_activity_time = session_now_filetime(); });
}

void log_stanza(MJabberSession* session, const char* prefix, const char* text) {
  session_trace(session, prefix);
  session_trace(session, mask_credentials(text).c_str(), true);
  session_trace(session, "\n");
}

void event_send_log(jconn* c, const char* text, size_t, int deferrable) {
  MJabberSession* session = owner_of(c);
  if (!session_debug_on(session))
    return;
  session_trace(session, deferrable ? "DEFERRED MESSAGE\n" : "NOT DEFERRED MESSAGE\n");
  log_stanza(session, "SEND:", text);
}

void event_receive_log(jconn* c, const char* text) {
  MJabberSession* session = owner_of(c);
  if (session_debug_on(session))
    log_stanza(session, "RECV:", text);
}

void event_trace(jconn* c, const char* text) {
  session_trace(owner_of(c), text);
}

}  // namespace

void session_install_callbacks(MJabberSession* session) {
  jconn* c = session->conn;
  c->owner = session;
  c->on_state = event_state_handler;
  c->on_packet = event_packet_handler;
  c->on_output = event_output_handler;
  c->on_send_log = event_send_log;
  c->on_receive_log = event_receive_log;
  c->trace = event_trace;
}
