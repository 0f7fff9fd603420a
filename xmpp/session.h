// MJabberSession: the session engine. It owns one connection (jconn), drives the login,
// keeps the list of IQ requests awaiting an answer and runs the receive loop. The engine is
// procedural like the connection: the operations are free functions taking the session
// first (jab_connect, RecvPollLoop, iq_result, send_chat, ...), declared in the headers of
// this folder by subject.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/critical_section.h"
#include "platform/kernel.h"
#include "xml/mstring.h"
#include "xmpp/connection_manager.h"
#include "xmpp/jabber_host.h"
#include "xmpp/jconn.h"

enum { SESSION_OFF = 0, SESSION_POLLING = 1, SESSION_ONLINE = 3, SESSION_CONNECTING = 4 };

// login_error values.
enum { LOGIN_ERROR_NONE = 0, LOGIN_ERROR_UNREACHABLE = 2, LOGIN_ERROR_REFUSED = 3 };

// The resource every login binds.
constexpr const char* kResource = "orvik";

// One IQ request awaiting its answer.
struct PendingIq {
  mstring target;  // where the request went
  mstring id;      // the id put on the iq
  mstring tag;     // what the answer means (a namespace or a tag word)
};

struct MJabberSession {
  explicit MJabberSession(IJabberHost* host);
  ~MJabberSession();
  MJabberSession(const MJabberSession&) = delete;
  MJabberSession& operator=(const MJabberSession&) = delete;

  IJabberHost* host;
  jconn* conn = nullptr;
  std::atomic<int> state{SESSION_OFF};
  int create_account = 0;
  int features = 0;
  int login_error = LOGIN_ERROR_NONE;

  // How the last connection ended, for the decision to reconnect: read them on the UI thread
  // once UM_SESSION_ENDED has arrived (or after a failed jab_connect); jab_connect clears them.
  // `stream_error`: the condition of the <stream:error> the server ended the stream with
  // ("conflict" when another login took the same resource, "system-shutdown", ...), "" when
  // the stream did not end by a stream error. Written on the UI thread.
  mstring stream_error;
  // Whether this connection ever became SESSION_ONLINE (authenticated). `state` cannot tell
  // afterwards: the receive loop sets SESSION_OFF when it ends.
  std::atomic<bool> was_online{false};

  std::vector<PendingIq> pending;
  std::mutex pending_lock;  // the location thread makes requests too

  mstring server;
  mstring user_name;

  mstring parse_buffer;
  CRITICAL_SECTION parse_lock;
  CRITICAL_SECTION dispatch_lock;

  // File time (100 ns units) of the last chunk received or stanza sent.
  std::atomic<int64_t> last_activity_time{0};
  // Reset each time the receive loop starts, signalled when it returns.
  HANDLE loop_ended = nullptr;

  cm_connection connection{};
  UINT connection_message;

  // The collaboration service found through service discovery ("" until then).
  mstring collab_service;
  // The registration request waits for the stream features when STARTTLS may come first.
  int register_pending = 0;
  // A server that never completes the login ends the connection after this long: tick count
  // at jab_connect and the limit ("LOGIN TIMEOUT", see connection_manager.h).
  DWORD connect_tick = 0;
  DWORD login_timeout_ms = 45000;
};

// Creation and release (the session's connection is freed with it).
MJabberSession* session_new(IJabberHost* host);
void session_free(MJabberSession* session);

// jab_connect: connects, opens the stream and starts the login; the outcome of the
// authentication arrives later through packets. 0 when the stream is open, -1 otherwise.
int jab_connect(MJabberSession* session, const char* server, const char* user_name,
                const char* password, int port, int create_account);

// The client's own full address: user@server/resource ("" without a connection).
mstring session_own_address(MJabberSession* session);
// The own bare address: user@server.
mstring session_own_bare(MJabberSession* session);
// The user's server (the domain of the own address).
mstring session_server(MJabberSession* session);

// Sends a stanza through the session's connection with the caller's choice of deferral.
int session_send(MJabberSession* session, xml_node* node, int deferrable);

// Trace lines for the debug log (written only in debug mode). `xml` marks stanza text.
void session_trace(MJabberSession* session, const char* text, bool xml = false);
bool session_debug_on(MJabberSession* session);

// The current system time as a file time (100 ns units since 1601).
int64_t session_now_filetime();
