// The connection's life cycle: creation, reset for a new login, the stream header, restart,
// TLS upgrade and close.
#include "xmpp/jconn.h"

#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xmpp/jconn_io.h"
#include "xmpp/make_socket.h"
#include "xmpp/stream_close.h"
#include "xmpp/zlib_stream.h"

namespace {

jconn* self(void* owner) {
  return static_cast<jconn*>(owner);
}

void on_builder_state(void* owner, int state) {
  jconn* c = self(owner);
  if (state == STREAM_STATE_OPEN) {
    std::memcpy(c->stream_id, c->parser.stream_id, sizeof c->stream_id);
    c->stream_v1 = c->parser.stream_v1;
    if (c->on_state)
      c->on_state(c, JCONN_EVENT_STREAM_OPEN);
  }
  // The server closed its stream: our tag answers it at once (the server may otherwise wait
  // seconds for it before it closes the socket, whose end then ends the loop).
  if (state == STREAM_STATE_CLOSED)
    jab_answer_stream_close(c);
}

void on_builder_packet(void* owner, packet* p) {
  jconn* c = self(owner);
  if (c->on_packet && p)
    c->on_packet(c, p);
}

void send_header(jconn* c) {
  xml_node* header = build_stream_header(NS_URI_CLIENT, c->user ? c->user->server : nullptr);
  if (!header)
    return;
  jab_send_text(c, stream_header_text(header), 0);
  xml_node_free(header);
}

void free_deferred(jconn* c) {
  std::lock_guard<std::mutex> hold(c->deferred_lock);
  while (deferred_text* entry = c->deferred) {
    c->deferred = entry->next;
    std::free(entry->text);
    delete entry;
  }
}

void socket_failed(jconn* c, const socket_failure& failure) {
  std::snprintf(c->error_text, sizeof c->error_text, "%s", failure.text);
  c->certificate_refused = failure.refused;
  if (c->on_state)
    c->on_state(c, JCONN_EVENT_CLOSED);
}

}  // namespace

jconn* jconn_new() {
  ::pool* p = pool_create();
  auto* c = new (std::nothrow) jconn{};
  if (!c) {
    pool_destroy(p);
    return nullptr;
  }
  c->pool = p;
  c->fd = -1;
  c->id_counter = 1;
  stream_builder_init(&c->parser, c, on_builder_state, on_builder_packet);
  return c;
}

void jconn_free(jconn* c) {
  if (!c)
    return;
  io_close(c, false);
  zlib_end_inflate(&c->inflate_stream, &c->inflate_initialised);
  zlib_end_deflate(&c->deflate_stream, &c->deflate_initialised);
  stream_builder_free(&c->parser);
  free_deferred(c);
  pool_destroy(c->old_pool);
  pool_destroy(c->pool);
  delete c;
}

namespace {

bool same_login(const jconn* c, const char* full_address, int port, const char* password) {
  return c->user && c->address && full_address && c->password &&
         std::strcmp(c->address, full_address) == 0 && c->user->port == port &&
         std::strcmp(c->password, password ? password : "") == 0;
}

}  // namespace

int jconn_reset(jconn* c, const char* full_address, int port, const char* password, int secure,
                int fd) {
  // The strings of the login before the previous one go with their pool, so reconnecting for
  // days never grows the connection; the previous login's stay for a thread that may still
  // be reading the own address while this login begins.
  // A retry of the same login (the clear retry after a refused secure port) keeps its strings,
  // so the previous login's stay for their one login.
  if (!same_login(c, full_address, port, password)) {
    pool_destroy(c->old_pool);
    c->old_pool = c->pool;
    c->pool = pool_create();
    c->user = jid_new(c->pool, full_address, port);
    c->address = pool_strdup(c->pool, full_address);
    c->password = pool_strdup(c->pool, password ? password : "");
  }
  c->secure = secure;
  c->fd = fd;
  c->state = JCONN_STATE_OFF;
  c->stanzas_open = 0;
  c->id_counter = 1;
  c->bytes_received = 0;
  c->bytes_sent = 0;
  c->stream_id[0] = '\0';
  c->stream_v1 = 0;
  c->stream_failed = 0;
  c->closing_tag_sent = 0;
  c->server_closed = 0;
  c->tls_requested = 0;
  c->error_text[0] = '\0';
  c->certificate_refused = 0;
  stream_builder_free(&c->parser);
  stream_builder_init(&c->parser, c, on_builder_state, on_builder_packet);
  if (!c->user || !c->user->user || !c->user->server)
    return -1;
  return 0;
}

void jab_open_stream(jconn* c) {
  if (!c || !c->user)
    return;
  socket_failure failure{};
  if (c->fd < 0) {
    tls_channel* tls = nullptr;
    int fd = make_socket(c->user->port, c->user->host, c->secure, c->user->server, &tls, &failure);
    if (fd < 0) {
      socket_failed(c, failure);
      return;
    }
    std::unique_lock<std::shared_mutex> hold(c->io_lock);
    c->tls = tls;
    c->fd = fd;
  } else if (c->secure && !c->tls && jab_start_tls(c) < 0) {
    // A socket handed over by the proxy still gets the TLS the user asked for.
    io_close(c, false);
    if (c->on_state)
      c->on_state(c, JCONN_EVENT_CLOSED);
    return;
  }
  stream_builder_open(&c->parser);
  c->state = JCONN_STATE_STREAM;
  send_header(c);
}

void jab_restart_stream(jconn* c) {
  if (!c)
    return;
  stream_builder_restart(&c->parser);
  c->state = JCONN_STATE_STREAM;
  send_header(c);
}

int jab_start_tls(jconn* c) {
  socket_failure failure{};
  tls_channel* tls = nullptr;
  int fd = c->fd;
  if (fd < 0 || !c->user)
    return -1;
  if (secure_socket(fd, c->user->server, &tls, &failure) < 0) {
    std::snprintf(c->error_text, sizeof c->error_text, "%s", failure.text);
    c->certificate_refused = failure.refused;
    return -1;
  }
  std::unique_lock<std::shared_mutex> hold(c->io_lock);
  c->tls = tls;
  c->secure = 1;
  return 0;
}

void jab_close(jconn* c) {
  if (!c)
    return;
  jab_close_stream(c);
  {
    std::lock_guard<std::mutex> hold(c->send_lock);
    c->compressed = 0;
    zlib_end_deflate(&c->deflate_stream, &c->deflate_initialised);
  }
  std::lock_guard<std::mutex> hold(c->recv_lock);
  zlib_end_inflate(&c->inflate_stream, &c->inflate_initialised);
}

void jab_drop_socket(jconn* c) {
  if (c)
    io_close(c, false);
}

void jab_shutdown_socket(jconn* c) {
  if (!c)
    return;
  std::shared_lock<std::shared_mutex> hold(c->io_lock);
  if (c->fd >= 0)
    shutdown(c->fd, SHUT_RDWR);
}

const char* jab_next_id(jconn* c) {
  return stanza_id_next(&c->id_counter, c->id_text);
}
