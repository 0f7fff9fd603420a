#include "xmpp/session.h"

#include <cstring>

#include "platform/clock.h"
#include "xmpp/session_messages.h"

MJabberSession::MJabberSession(IJabberHost* owner)
    : host(owner), connection_message(UM_CONNECTION_MANAGER) {
  InitializeCriticalSection(&parse_lock);
  InitializeCriticalSection(&dispatch_lock);
  // Manual-reset, and signalled while no receive loop runs, so a disconnect without a loop
  // does not wait.
  loop_ended = CreateEvent(TRUE, TRUE);
}

MJabberSession::~MJabberSession() {
  jconn_free(conn);
  cm_release(&connection);  // closes the route watch
  if (loop_ended)
    CloseHandle(loop_ended);
  DeleteCriticalSection(&parse_lock);
  DeleteCriticalSection(&dispatch_lock);
}

MJabberSession* session_new(IJabberHost* host) {
  return host ? new MJabberSession(host) : nullptr;
}

void session_free(MJabberSession* session) {
  delete session;
}

mstring session_own_bare(MJabberSession* session) {
  jconn* c = session ? session->conn : nullptr;
  if (!c || !c->user || !c->user->user)
    return mstring();
  // A user part that already holds an '@' is a complete address.
  if (std::strchr(c->user->user, '@'))
    return mstring(c->user->user);
  return mstring(c->user->user) + "@" + c->user->server;
}

mstring session_own_address(MJabberSession* session) {
  mstring bare = session_own_bare(session);
  if (bare.empty())
    return bare;
  const char* resource = session->conn->user->resource;
  return bare + "/" + (resource ? resource : kResource);
}

mstring session_server(MJabberSession* session) {
  jconn* c = session ? session->conn : nullptr;
  return c && c->user ? mstring(c->user->server) : mstring();
}

int session_send(MJabberSession* session, xml_node* node, int deferrable) {
  if (!session || !session->conn)
    return -1;
  return jab_send_node(session->conn, node, deferrable);
}

bool session_debug_on(MJabberSession* session) {
  return session && session->host->Settings().debugMode;
}

void session_trace(MJabberSession* session, const char* text, bool xml) {
  if (session_debug_on(session))
    session->host->DebugLog().Write(text, xml);
}

int64_t session_now_filetime() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  FILETIME file{};
  SystemTimeToFileTime(&now, &file);
  return (static_cast<int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}
