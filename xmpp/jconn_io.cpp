#include "xmpp/jconn_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "xmpp/jconn.h"
#include "xmpp/net_socket.h"
#include "xmpp/tls_channel.h"

namespace {

// How long the rest of a stanza may take once its first byte has gone out.
constexpr int kWriteRestTimeoutMs = 30000;

using Clock = std::chrono::steady_clock;

int left_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Plain socket: the shared lock keeps the descriptor open; reads go on meanwhile.
int write_plain(jconn* c, const char* data, size_t length) {
  std::shared_lock<std::shared_mutex> hold(c->io_lock);
  int fd = c->fd;
  if (fd < 0)
    return IO_ERROR;
  return send_all(fd, data, length, kWriteRestTimeoutMs) < 0 ? IO_ERROR : 0;
}

// TLS: one SSL call at a time under the exclusive lock, and no lock while waiting for the
// socket, so the receive loop can read between the attempts.
int write_tls(jconn* c, const char* data, size_t length) {
  auto deadline = Clock::now() + std::chrono::milliseconds(kWriteRestTimeoutMs);
  for (;;) {
    short events = 0;
    int fd;
    int step;
    {
      std::unique_lock<std::shared_mutex> hold(c->io_lock);
      fd = c->fd;
      if (fd < 0 || !c->tls)
        return IO_ERROR;
      step = tls_write_step(c->tls, data, length, &events);
    }
    if (step > 0)
      return 0;
    if (step < 0 || wait_socket(fd, events, left_ms(deadline)) <= 0)
      return IO_ERROR;
  }
}

}  // namespace

int io_read(jconn* c, char* buffer, size_t size) {
  if (c->tls) {
    std::unique_lock<std::shared_mutex> hold(c->io_lock);
    if (c->fd < 0 || !c->tls)
      return IO_ERROR;
    int result = tls_read(c->tls, buffer, size);
    return result == TLS_WOULD_BLOCK ? IO_WOULD_BLOCK : result;
  }
  std::shared_lock<std::shared_mutex> hold(c->io_lock);
  int fd = c->fd;
  if (fd < 0)
    return IO_ERROR;
  ssize_t count = recv(fd, buffer, size, 0);
  if (count > 0)
    return static_cast<int>(count);
  if (count == 0)
    return IO_CLOSED;
  return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? IO_WOULD_BLOCK : IO_ERROR;
}

bool io_writable(jconn* c, int wait_us) {
  int fd = c->fd;
  if (fd < 0)
    return false;
  int wait_ms = (wait_us + 999) / 1000;
  int ready = wait_socket(fd, POLLOUT, wait_ms);
  return ready > 0 && (ready & POLLOUT) && !(ready & (POLLERR | POLLNVAL));
}

int io_write(jconn* c, const char* data, size_t length, int first_wait_us) {
  if (!io_writable(c, first_wait_us))
    return c->fd < 0 ? IO_ERROR : IO_NOT_WRITABLE;
  return c->tls ? write_tls(c, data, length) : write_plain(c, data, length);
}

void io_close(jconn* c, bool notify) {
  std::unique_lock<std::shared_mutex> hold(c->io_lock);
  if (c->tls) {
    tls_close(c->tls, notify && c->fd >= 0);
    c->tls = nullptr;
  }
  int fd = c->fd.exchange(-1);
  if (fd >= 0) {
    shutdown(fd, SHUT_RDWR);
    close(fd);
  }
}
