// The receive side of the connection: one wait-and-receive per call of the receive loop.
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "xmpp/jconn.h"
#include "xmpp/jconn_io.h"
#include "xmpp/net_socket.h"
#include "xmpp/tls_channel.h"
#include "xmpp/zlib_stream.h"

namespace {

constexpr size_t kReceiveBuffer = 4048;

void trace(jconn* c, const char* text) {
  if (c && c->trace)
    c->trace(c, text);
}

// The stream cannot go on: say why, and stop the socket so that the loop ends.
void fail_stream(jconn* c, const char* reason) {
  std::snprintf(c->error_text, sizeof c->error_text, "%s", reason);
  jab_shutdown_socket(c);
  if (c->on_state)
    c->on_state(c, JCONN_EVENT_FAILED);
}

char* inflate_chunk(jconn* c, char* raw, size_t* length) {
  char* text = nullptr;
  size_t text_length = 0;
  int result;
  {
    std::lock_guard<std::mutex> hold(c->recv_lock);
    result = zlib_inflate_chunk(&c->inflate_stream, &c->inflate_initialised, raw, *length,
                                ZLIB_MAX_INFLATED, &text, &text_length);
  }
  if (result == ZLIB_OK) {
    std::free(raw);
    *length = text_length;
    return text;
  }
  raw[0] = '\0';
  *length = 0;
  fail_stream(c, result == ZLIB_TOO_LARGE ? "compressed data from the server expands too far"
                                          : "compressed data from the server is corrupt");
  return raw;
}

// The second, short wait on the read set: data is there, or TLS holds some already.
bool readable_now(jconn* c, int timeout_us) {
  if (jab_has_pending(c))
    return true;
  int ready = wait_socket(c->fd, POLLIN, timeout_us < 0 ? -1 : timeout_us / 1000);
  return ready > 0;
}

}  // namespace

bool jab_has_pending(jconn* c) {
  std::unique_lock<std::shared_mutex> hold(c->io_lock);
  return c->tls && c->fd >= 0 && tls_pending(c->tls) > 0;
}

bool jab_wait_readable(jconn* c, int milliseconds) {
  if (!c || c->fd < 0)
    return true;
  if (jab_has_pending(c))
    return true;
  return wait_socket(c->fd, POLLIN, milliseconds) != 0;
}

char* jab_recv(jconn* c) {
  char* buffer = static_cast<char*>(std::calloc(kReceiveBuffer, 1));
  if (!buffer || !c || c->state == JCONN_STATE_OFF)
    return buffer;
  int count = io_read(c, buffer, kReceiveBuffer - 1);
  if (count == IO_WOULD_BLOCK)
    return buffer;  // a TLS record not yet complete: nothing to hand over, nothing wrong
  if (count < 1) {
    if (c->on_state)
      c->on_state(c, JCONN_EVENT_CLOSED);
    jab_close(c);
    return buffer;
  }
  c->bytes_received += static_cast<uint32_t>(count);
  buffer[count] = '\0';
  size_t length = static_cast<size_t>(count);
  if (c->compressed)
    buffer = inflate_chunk(c, buffer, &length);
  // The chunk travels on as NUL-terminated text; a NUL byte (never allowed in XML) would cut
  // it short silently, so it ends the stream instead.
  if (std::memchr(buffer, '\0', length)) {
    buffer[0] = '\0';
    fail_stream(c, "the stream is not well-formed XML");
    return buffer;
  }
  if (buffer[0] && c->on_receive_log)
    c->on_receive_log(c, buffer);
  return buffer;
}

char* jab_poll(jconn* c, int timeout) {
  if (!c || c->state == JCONN_STATE_OFF) {
    trace(c, "JCONN_STATE_OFF");
    return nullptr;
  }
  int fd = c->fd;
  if (timeout < 0) {
    trace(c, "SELECT1");
    if (wait_socket(fd, POLLIN | POLLOUT, -1) <= 0 || !readable_now(c, -1))
      return nullptr;
    trace(c, "RECV1");
    char* chunk = jab_recv(c);
    trace(c, "RECV1 OUT");
    return chunk;
  }
  trace(c, "SELECT2");
  int ready = jab_has_pending(c) ? 1 : wait_socket(fd, POLLIN | POLLOUT, timeout * 1000);
  if (ready == 0) {
    trace(c, "NO DATA");
    return nullptr;
  }
  if (ready < 0) {
    trace(c, "SOCKETERROR");
    return nullptr;
  }
  if (!readable_now(c, timeout))
    return nullptr;
  trace(c, "RECV2");
  char* chunk = jab_recv(c);
  trace(c, "RECV2 OUT");
  return chunk;
}
