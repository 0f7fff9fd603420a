// jab_connect: from login parameters to an open stream.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "xmpp/iq_tracking.h"
#include "xmpp/negotiation.h"
#include "xmpp/session_loop.h"
#include "xmpp/socks5.h"

namespace {

constexpr DWORD kReadyWaitMs = 20000;

void log_line(MJabberSession* session, const char* format, const char* argument) {
  char line[600];
  std::snprintf(line, sizeof line, format, argument);
  session->host->AppendLog(line);
}

// The proxy's socket towards the server, or -1 (the login then goes on without the proxy).
int proxy_socket(MJabberSession* session, const char* server, int port) {
  const MSettings& settings = session->host->Settings();
  if (!settings.enableProxy)
    return -1;
  log_line(session, "<p>Connecting to proxy server '%s'...</p>", settings.proxyServer.c_str());
  // The destination is where the socket would go: the host after a second '@', if any.
  std::string destination = server;
  size_t at = destination.rfind('@');
  if (at != std::string::npos)
    destination = destination.substr(at + 1);
  int fd = -1;
  int error = socks5_connect(settings.proxyServer.c_str(), static_cast<int>(settings.proxyPort),
                             settings.proxyUsername.c_str(), settings.proxyPassword.c_str(),
                             destination.c_str(), port, &fd);
  if (error == 0) {
    session->host->AppendLog("<p>Proxy connection successful</p>");
    return fd;
  }
  session->host->AppendLog("<p><b>Proxy connection unsuccessful</p>");
  session->host->AppendLog(
      "<p>Please check your proxy settings using the \"Menu->Setup->Advanced\" menu.</p></b>");
  session->host->AppendLog("<p>Attempting to login without a proxy...</p>");
  return -1;
}

// Steps a to g of the connect loop. Returns 0 when a stream was opened, 1 when the socket could
// not be made, -1 when the address is unusable.
int open_connection(MJabberSession* session, const char* server, const char* full_address,
                    const char* password, int port, int fd) {
  int secure = session->host->Settings().encryptSessions ? 1 : 0;
  for (;;) {
    if (session->conn)
      jab_drop_socket(session->conn);
    else
      session->conn = jconn_new();
    jconn* c = session->conn;
    if (jconn_reset(c, full_address, port, password, secure, fd) < 0) {
      if (fd >= 0)
        close(fd);
      c->fd = -1;
      session->host->ShowMessageBox(
          "Incorrect Jabber username or password specified. Please re-enter username and "
          "password.",
          nullptr);
      return -1;
    }
    if (mstricmp(c->user->server, server) != 0)
      session->host->ClearRoster();
    session_install_callbacks(session);
    jab_open_stream(c);
    fd = -1;
    if (c->fd >= 0)
      return 0;
    // A refused certificate is an answer, not an outage: never retried in clear.
    if (!secure || c->certificate_refused)
      return 1;
    secure = 0;
    --port;
  }
}

}  // namespace

int jab_connect(MJabberSession* session, const char* server, const char* user_name,
                const char* password, int port, int create_account) {
  if (!session || !server || !user_name)
    return -1;
  session->state = SESSION_CONNECTING;
  EnterCriticalSection(&session->parse_lock);
  session->parse_buffer = "";
  LeaveCriticalSection(&session->parse_lock);
  mstring full_address = mstring(user_name) + "@" + server + "/" + kResource;
  log_line(session, "<P>Connecting to Jabber server '%s'...</P>", server);

  if (!cm_wait_ready(kReadyWaitMs) || cm_establish(&session->connection, server) < 0) {
    session->host->AppendLog("<p>Could not establish connection to Internet.</p>");
    session->state = SESSION_OFF;
    return -1;
  }
  session->login_error = LOGIN_ERROR_NONE;
  session->stream_error = "";
  session->was_online = false;
  session->create_account = create_account ? 1 : 0;
  session->register_pending = 0;
  session->features = 0;
  session->connect_tick = GetTickCount();
  session->login_timeout_ms = cm_login_timeout();
  pending_clear(session);

  int fd = proxy_socket(session, server, port);
  session->user_name = user_name;
  int opened = open_connection(session, server, full_address.c_str(), password, port, fd);
  if (opened < 0) {
    cm_release(&session->connection);
    session->state = SESSION_OFF;
    return -1;
  }
  session->server = server;
  if (opened > 0) {
    cm_release(&session->connection);
    session->state = SESSION_OFF;
    session_report_unreachable(session, server);
    return -1;
  }
  return 0;
}
