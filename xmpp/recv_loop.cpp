// The receive loop of the login thread and what comes before and after it.
#include <cstdlib>

#include "xmpp/negotiation.h"
#include "xmpp/session_loop.h"
#include "xmpp/session_messages.h"
#include "xmpp/stream_close.h"

namespace {

constexpr DWORD kIdlePauseMs = 1000;
const char kKeepalive[] = " \t";

// The pause after an empty poll: ends early when the application stops, or when the socket
// becomes readable (so received text is handled at once, not up to a second later), or
// when the socket is gone (closing it wakes the wait: the socket is shut down first). One
// sleep covers the whole pause, so an idle connection wakes once a pass.
void pause_pass(MJabberSession* session, DWORD milliseconds) {
  MShutdownEvent& shutdown = session->host->Shutdown();
  jconn* c = session->conn;
  if (!c || c->fd < 0 || jab_has_pending(c))
    return;
  HANDLE stop = shutdown.handle();
  // A stream that is off is not read by the poll, so its socket must not end the pause (the
  // loop would spin on a socket at its end).
  int fd = c->state == JCONN_STATE_OFF ? -1 : c->fd.load();
  if (WaitForSocketOrEvents(fd, 1, &stop, milliseconds) == WAIT_FAILED)
    shutdown.WaitForShutdown(milliseconds);  // no descriptor for the event: the plain pause
}

void hand_over(MJabberSession* session) {
  char* chunk = jab_poll(session->conn, 5);
  if (!chunk || !*chunk) {
    std::free(chunk);
    pause_pass(session, kIdlePauseMs);
    return;
  }
  SendMessage(session->host->MainWindow(), UM_SESSION_RECEIVED, 0, reinterpret_cast<LPARAM>(chunk));
  session->last_activity_time = session_now_filetime();
  std::free(chunk);
}

void keepalive_if_quiet(MJabberSession* session) {
  if (session->state != SESSION_ONLINE)
    return;
  int64_t now = session_now_filetime();
  int64_t quiet_ms = now / 10000 - session->last_activity_time / 10000;
  if (quiet_ms > static_cast<int64_t>(session->host->Settings().keepalivePeriod)) {
    SendMessage(session->host->MainWindow(), UM_SESSION_KEEPALIVE, 0,
                reinterpret_cast<LPARAM>(kKeepalive));
    session->last_activity_time = session_now_filetime();
  }
}

// A server that accepted the connection but never completes the login.
void end_stalled_login(MJabberSession* session) {
  if (session->state == SESSION_ONLINE)
    return;
  if (GetTickCount() - session->connect_tick > session->login_timeout_ms)
    session_end_stream(session, "the server did not complete the login in time");
}

void one_pass(MJabberSession* session) {
  MAppMutexes& mutexes = session->host->Mutexes();
  HANDLE lock = mutexes.CreateAppMutex("IEVENTLOOPMUTEX", false);
  if (!lock) {
    session_trace(session, "RecvPollLoop () MUTEX NULL\n");
    pause_pass(session, kIdlePauseMs);
    return;
  }
  session_trace(session, "EventLoop () MSGWAIT...");
  DWORD waited = WaitForSingleObject(lock, INFINITE);
  session_trace(session, "EventLoop () MSGWAITCOMPLETE...");
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    session_trace(session, "RecvPollLoop () MUTEX 2 NULL\n");
    mutexes.CloseAppMutex(lock);
    return;
  }
  if (connection_alive(session))
    hand_over(session);
  keepalive_if_quiet(session);
  end_stalled_login(session);
  session_trace(session, "Release");
  mutexes.CloseAppMutex(lock);
  session_trace(session, "Released");
}

}  // namespace

int RecvPollLoop(MJabberSession* session) {
  session->state = SESSION_POLLING;
  while (connection_alive(session) && !session->host->Shutdown().IsSignalled()) {
    one_pass(session);
    session_trace(session, "Looping again");
  }
  session->state = SESSION_OFF;
  // A loop stopped by the application (exit) leaves an open stream: it is closed in order.
  jab_close_stream(session->conn);
  return 1;
}

void session_run(MJabberSession* session) {
  ResetEvent(session->loop_ended);
  RecvPollLoop(session);
  SetEvent(session->loop_ended);
  session->host->AppendLog("<p>Sending disconnection</p>");
  PostMessage(session->host->MainWindow(), UM_SESSION_ENDED, 0, 0);
}

void session_after_run(MJabberSession* session) {
  KillTimer(session->host->MainWindow(), POST_LOGIN_TIMER_ID);
  jab_close(session->conn);
}

void session_keepalive(MJabberSession* session, const char* text) {
  if (session && session->conn)
    jab_send_text(session->conn, text, 0);
}
