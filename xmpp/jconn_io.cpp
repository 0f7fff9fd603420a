#include "xmpp/jconn_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "xmpp/jconn.h"
#include "xmpp/net_socket.h"
#include "xmpp/tls_channel.h"

namespace {

// How long the rest of a stanza may take once its first byte has gone out.
constexpr int kWriteRestTimeoutMs = 30000;

}  // namespace

int io_read(jconn* c, char* buffer, size_t size) {
  std::lock_guard<std::mutex> hold(c->io_lock);
  int fd = c->fd;
  if (fd < 0)
    return IO_ERROR;
  if (c->tls) {
    int result = tls_read(c->tls, buffer, size);
    return result == TLS_WOULD_BLOCK ? IO_WOULD_BLOCK : result;
  }
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
  std::lock_guard<std::mutex> hold(c->io_lock);
  int fd = c->fd;
  if (fd < 0)
    return IO_ERROR;
  int result = c->tls ? tls_write_all(c->tls, data, length, kWriteRestTimeoutMs)
                      : send_all(fd, data, length, kWriteRestTimeoutMs);
  return result < 0 ? IO_ERROR : 0;
}

void io_close(jconn* c, bool notify) {
  std::lock_guard<std::mutex> hold(c->io_lock);
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
