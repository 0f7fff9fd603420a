#include "xmpp/stream_close.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "xmpp/jconn.h"
#include "xmpp/jconn_io.h"
#include "xmpp/zlib_stream.h"

namespace {

constexpr char kClosingTag[] = "</stream:stream>";
// The server's tag may carry blanks before its '>': its start is enough.
constexpr char kServerClose[] = "</stream:stream";
constexpr size_t kReadBuffer = 4096;

using Clock = std::chrono::steady_clock;

int left_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Our closing tag, deflated when the stream is compressed; once per stream. False when it could
// not be sent (then there is no answer to wait for).
bool send_closing_tag(jconn* c) {
  std::lock_guard<std::mutex> hold(c->send_lock);
  if (c->closing_tag_sent.exchange(1))
    return true;
  const char* bytes = kClosingTag;
  size_t length = sizeof kClosingTag - 1;
  char* deflated = nullptr;
  if (c->compressed && zlib_deflate_text(&c->deflate_stream, &c->deflate_initialised, kClosingTag,
                                         length, &deflated, &length) == ZLIB_OK)
    bytes = deflated;
  bool sent = io_write(c, bytes, length, 10000) == 0;
  std::free(deflated);
  return sent;
}

// Appends the received bytes (inflated when compressed) to `seen`, keeping only as much of the
// past as the tag needs to be found across two reads. False when the bytes cannot be read.
bool take_bytes(jconn* c, const char* bytes, size_t length, std::string& seen) {
  if (!c->compressed) {
    seen.append(bytes, length);
  } else {
    char* text = nullptr;
    size_t text_length = 0;
    std::lock_guard<std::mutex> hold(c->recv_lock);
    if (zlib_inflate_chunk(&c->inflate_stream, &c->inflate_initialised, bytes, length,
                           ZLIB_MAX_INFLATED, &text, &text_length) != ZLIB_OK)
      return false;
    seen.append(text, text_length);
    std::free(text);
  }
  return true;
}

// Reads until the server's closing tag, the end of the socket, an error or the deadline.
int await_server_close(jconn* c, int wait_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(wait_ms);
  std::string seen;
  char buffer[kReadBuffer];
  while (left_ms(deadline) > 0) {
    if (!jab_wait_readable(c, left_ms(deadline)))
      break;
    int count = io_read(c, buffer, sizeof buffer);
    if (count == IO_WOULD_BLOCK)
      continue;
    if (count <= 0 || !take_bytes(c, buffer, static_cast<size_t>(count), seen))
      return STREAM_CLOSE_ENDED;
    if (seen.find(kServerClose) != std::string::npos)
      return STREAM_CLOSE_ANSWERED;
    if (seen.size() > sizeof kServerClose)
      seen.erase(0, seen.size() - sizeof kServerClose);
  }
  return STREAM_CLOSE_NO_ANSWER;
}

}  // namespace

int jab_close_stream(jconn* c, int wait_ms) {
  if (!c)
    return STREAM_CLOSE_NOT_OPEN;
  // Off first: from now on the receive loop neither reads nor hands anything over.
  c->state = JCONN_STATE_OFF;
  std::lock_guard<std::mutex> hold(c->close_lock);
  if (c->fd < 0)
    return STREAM_CLOSE_NOT_OPEN;
  int outcome = STREAM_CLOSE_NO_ANSWER;
  if (send_closing_tag(c))
    outcome = c->server_closed ? STREAM_CLOSE_ANSWERED : await_server_close(c, wait_ms);
  io_close(c, true);
  return outcome;
}

void jab_answer_stream_close(jconn* c) {
  c->server_closed = 1;
  // A close under way sends the tag itself; the parse never waits for it.
  std::unique_lock<std::mutex> hold(c->close_lock, std::try_to_lock);
  if (hold.owns_lock() && c->fd >= 0 && c->state != JCONN_STATE_OFF)
    send_closing_tag(c);
}
