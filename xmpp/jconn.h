// jconn: the protocol-level connection. It owns the socket (plain or TLS), the stream tree
// builder that parses the server's stream, the zlib streams of stream compression, the queue
// of stanzas that could not be sent and the five callbacks through which the session engine
// hears about it. One jconn is reused across reconnects (jconn_reset).
//
// Threads: the receive loop reads (jab_poll, jab_recv); any thread sends (jab_send_text);
// the UI thread parses. The locks below make those safe together: `io_lock` keeps the socket
// open during a read or write and the TLS object to one user at a time; `send_lock` keeps one
// stanza's bytes (and the deflate stream) together; `recv_lock` guards the inflate stream. No
// lock is held while a write waits for the socket, so reading goes on meanwhile.
#pragma once

#include <zlib.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <shared_mutex>

#include "xml/iq_id.h"
#include "xml/jid.h"
#include "xml/pool.h"
#include "xml/stream_builder.h"

enum { JCONN_STATE_OFF = 0, JCONN_STATE_AUTH = 2, JCONN_STATE_STREAM = 3 };

// Values the state callback receives. JCONN_EVENT_FAILED reports a broken stream (reason in
// error_text); the connection is being shut down.
enum {
  JCONN_EVENT_CLOSED = 0,
  JCONN_EVENT_STREAM_OPEN = 1,
  JCONN_EVENT_AUTH_SENT = 2,
  JCONN_EVENT_FAILED = 3,
};

struct jconn;
struct packet;
struct tls_channel;

typedef void (*jconn_state_fn)(jconn* c, int state);
typedef void (*jconn_packet_fn)(jconn* c, packet* p);
typedef void (*jconn_output_fn)(jconn* c, const char* bytes, size_t length, int failed);
typedef void (*jconn_send_log_fn)(jconn* c, const char* text, size_t length, int deferrable);
typedef void (*jconn_receive_log_fn)(jconn* c, const char* text);
// The application's trace writer (debug-mode lines such as "RECV1").
typedef void (*jconn_trace_fn)(jconn* c, const char* text);

// One text whose sending failed, oldest first.
struct deferred_text {
  char* text;
  deferred_text* next;
};

struct jconn {
  ::pool* pool;      // the current address and password live here; replaced by jconn_reset
  ::pool* old_pool;  // the previous login's, kept one more login for late readers
  std::atomic<int> state;
  std::atomic<int> fd;  // -1 when there is no socket
  int secure;           // the socket is (to be) made with TLS
  jid* user;            // user@server/resource; host and port are where the socket goes
  char* address;        // the address the login was given, as given
  char* password;
  std::atomic<int> compressed;
  int stream_v1;
  int32_t id_counter;
  char id_text[STANZA_ID_SIZE];
  char stream_id[255];
  stream_builder parser;  // the Expat parser and the stanza under construction

  z_stream inflate_stream;
  int inflate_initialised;
  z_stream deflate_stream;
  int deflate_initialised;

  std::atomic<uint32_t> bytes_received;
  std::atomic<uint32_t> bytes_sent;

  deferred_text* deferred;
  std::mutex deferred_lock;
  // Whether the session may carry deferrable stanzas: set once its roster has arrived, cleared
  // by each new login. Before that a server refuses them (a message written between
  // authentication and resource binding bounces with service-unavailable) and they would be
  // lost, so they wait in the queue.
  std::atomic<int> stanzas_open;

  jconn_state_fn on_state;
  jconn_packet_fn on_packet;
  jconn_output_fn on_output;
  jconn_send_log_fn on_send_log;
  jconn_receive_log_fn on_receive_log;
  void* owner;  // the session engine
  jconn_trace_fn trace;

  std::atomic<tls_channel*> tls;  // null on a plain socket
  std::shared_mutex io_lock;      // shared: plain reads and writes; exclusive: TLS, close
  std::mutex send_lock;
  std::mutex recv_lock;
  std::mutex close_lock;  // one orderly close at a time (stream_close.h)

  // Why the last socket could not be made or the stream broke, for the log window ("" when
  // there is nothing to say), and whether a certificate was refused (never retried in clear).
  char error_text[256];
  int certificate_refused;
  // Set once a stream error has ended this stream, so it is reported once.
  int stream_failed;
  // Our closing tag went out (it is sent once per stream), and the server's came.
  std::atomic<int> closing_tag_sent;
  std::atomic<int> server_closed;
  // STARTTLS was asked for and the server's answer has not come yet.
  int tls_requested;
};

// A new connection without a socket. Null only when memory is exhausted.
jconn* jconn_new();
// Closes everything and frees the connection.
void jconn_free(jconn* c);
// Prepares the connection for a new login: the address parsed from `full_address` with
// `port` as default, the password, the secure flag and a socket (`fd`, or -1 to make one
// later). Returns 0, or -1 when the address has no user or no server part.
int jconn_reset(jconn* c, const char* full_address, int port, const char* password, int secure,
                int fd);

// Creates the socket when there is none, prepares the parser and sends the stream header.
// When the socket cannot be made, the state callback gets JCONN_EVENT_CLOSED.
void jab_open_stream(jconn* c);
// Replaces the parser and sends a new stream header on the open socket (after SASL success,
// compression or TLS). The old parser is released after the running parse call returns.
void jab_restart_stream(jconn* c);
// Closes the stream in order while the socket is open (jab_close_stream) and ends the zlib
// streams.
void jab_close(jconn* c);
// Closes the socket at once (no closing tag): the receive loop sees the end at its next pass.
void jab_drop_socket(jconn* c);
// Stops all traffic on the socket without closing it: a reader or waiter wakes at once and
// sees the end of the stream, so the receive loop ends. Safe from any thread.
void jab_shutdown_socket(jconn* c);
// Upgrades the open socket to TLS, verifying the certificate for the user's server. 0, or -1
// with error_text set.
int jab_start_tls(jconn* c);

// Sends `text`, deflated when compression is on. When `deferrable` and the text cannot be
// sent now (or the session does not carry stanzas yet), it is queued for jab_flush_deferred.
// 0 when sent, -1 otherwise.
int jab_send_text(jconn* c, const char* text, int deferrable);
// Serialises `node` and sends it; the caller still owns (and frees) the node.
int jab_send_node(jconn* c, xml_node* node, int deferrable);
// From now on deferrable texts go out at once (the session is ready for them).
void jab_open_stanzas(jconn* c);
// Sends every queued text, oldest first, without deferral, and empties the queue.
void jab_flush_deferred(jconn* c);
// The number of queued texts.
int jab_deferred_count(jconn* c);

// One wait-and-receive: a heap text (free with free()) or null.
char* jab_poll(jconn* c, int timeout);
// One receive of at most 4047 bytes, inflated when compression is on: a heap text, empty
// when nothing was received. Never null.
char* jab_recv(jconn* c);
// True when a read would find data at once (bytes held inside the TLS layer count).
bool jab_has_pending(jconn* c);
// Waits up to `milliseconds` for the socket to become readable (or to end). True when it did.
bool jab_wait_readable(jconn* c, int milliseconds);

// The next numeric stanza id ("1", "2", ...), in the connection's id_text.
const char* jab_next_id(jconn* c);
