// The output path: sending texts and stanzas, and the queue of texts that could not be sent.
#include <cstdlib>
#include <cstring>

#include "xml/mstring.h"
#include "xmpp/jconn.h"
#include "xmpp/jconn_io.h"
#include "xmpp/zlib_stream.h"

namespace {

constexpr int kWritableWaitUs = 10000;

void queue_copy(jconn* c, const char* text) {
  char* copy = mstrdup(text);
  if (!copy)
    return;
  auto* entry = new deferred_text{copy, nullptr};
  std::lock_guard<std::mutex> hold(c->deferred_lock);
  deferred_text** tail = &c->deferred;
  while (*tail)
    tail = &(*tail)->next;
  *tail = entry;
}

// Deflates (when compression is on) and writes under the send lock. The socket's writability
// is checked before deflating: a text given up after deflating would leave the server's
// inflate stream short of bytes that later data refers to.
bool write_text(jconn* c, const char* text, size_t length, int deferrable) {
  std::lock_guard<std::mutex> hold(c->send_lock);
  if (!io_writable(c, kWritableWaitUs)) {
    if (c->on_output)
      c->on_output(c, text, length, deferrable);
    return false;
  }
  const char* bytes = text;
  char* deflated = nullptr;
  if (c->compressed) {
    if (zlib_deflate_text(&c->deflate_stream, &c->deflate_initialised, text, length, &deflated,
                          &length) != ZLIB_OK) {
      jab_shutdown_socket(c);
      return false;
    }
    bytes = deflated;
  }
  int result = io_write(c, bytes, length, kWritableWaitUs);
  if (result == 0)
    c->bytes_sent += static_cast<uint32_t>(length);
  else if (result == IO_ERROR)
    jab_shutdown_socket(c);  // the stream is broken: let the receive loop end it
  if (c->on_output)
    c->on_output(c, bytes, length, deferrable && result != 0);
  std::free(deflated);
  return result == 0;
}

}  // namespace

int jab_send_text(jconn* c, const char* text, int deferrable) {
  if (!c || !text)
    return -1;
  size_t length = std::strlen(text);
  if (c->on_send_log)
    c->on_send_log(c, text, length, deferrable);
  bool sent = false;
  if (deferrable && !c->stanzas_open) {
    if (c->on_output)
      c->on_output(c, text, length, 1);
  } else if (c->state != JCONN_STATE_OFF) {
    sent = write_text(c, text, length, deferrable);
  } else if (c->on_output) {
    c->on_output(c, text, length, 1);
  }
  if (deferrable && !sent)
    queue_copy(c, text);
  return sent ? 0 : -1;
}

int jab_send_node(jconn* c, xml_node* node, int deferrable) {
  char* text = xml_node_to_string(node);
  if (!text)
    return -1;
  return jab_send_text(c, text, deferrable);
}

void jab_open_stanzas(jconn* c) {
  if (c)
    c->stanzas_open = 1;
}

void jab_flush_deferred(jconn* c) {
  if (!c)
    return;
  deferred_text* list;
  {
    std::lock_guard<std::mutex> hold(c->deferred_lock);
    list = c->deferred;
    c->deferred = nullptr;
  }
  while (list) {
    deferred_text* entry = list;
    list = entry->next;
    jab_send_text(c, entry->text, 0);
    std::free(entry->text);
    delete entry;
  }
}

int jab_deferred_count(jconn* c) {
  std::lock_guard<std::mutex> hold(c->deferred_lock);
  int count = 0;
  for (deferred_text* entry = c->deferred; entry; entry = entry->next)
    ++count;
  return count;
}
