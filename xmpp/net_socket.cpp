#include "xmpp/net_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void set_option(int fd, int level, int name) {
  int on = 1;
  setsockopt(fd, level, name, &on, sizeof on);
}

}  // namespace

bool resolve_ipv4(const char* host, in_addr* out) {
  char own_name[256];
  if (!host || !*host) {
    if (gethostname(own_name, sizeof own_name) != 0)
      return false;
    own_name[sizeof own_name - 1] = '\0';
    host = own_name;
  }
  if (inet_pton(AF_INET, host, out) == 1)
    return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
    return false;
  *out = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

int tcp_connect(const in_addr& address, int port, int timeout_ms) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0)
    return -1;
  set_option(fd, SOL_SOCKET, SO_REUSEADDR);
  set_option(fd, IPPROTO_TCP, TCP_NODELAY);
  set_option(fd, SOL_SOCKET, SO_KEEPALIVE);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<uint16_t>(port));
  target.sin_addr = address;
  if (connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0)
    return fd;
  if (errno != EINPROGRESS) {
    int saved = errno;
    close(fd);
    errno = saved;
    return -1;
  }
  int ready = wait_socket(fd, POLLOUT, timeout_ms);
  int error = 0;
  socklen_t size = sizeof error;
  if (ready <= 0) {
    error = ready == 0 ? ETIMEDOUT : errno;
  } else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
    error = errno;
  }
  if (error != 0) {
    close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

int wait_socket(int fd, short events, int timeout_ms) {
  if (fd < 0)
    return -1;
  pollfd entry{fd, events, 0};
  int result;
  do {
    result = poll(&entry, 1, timeout_ms);
  } while (result < 0 && errno == EINTR);
  if (result <= 0)
    return result;
  return entry.revents;
}

int send_all(int fd, const void* data, size_t length, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  const char* bytes = static_cast<const char*>(data);
  while (length > 0) {
    ssize_t sent = send(fd, bytes, length, MSG_NOSIGNAL);
    if (sent > 0) {
      bytes += sent;
      length -= static_cast<size_t>(sent);
      continue;
    }
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
      return -1;
    int ready = wait_socket(fd, POLLOUT, remaining_ms(deadline));
    if (ready <= 0 || (ready & (POLLERR | POLLNVAL)))
      return -1;
  }
  return 0;
}

size_t recv_exact(int fd, void* data, size_t length, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  char* bytes = static_cast<char*>(data);
  size_t got = 0;
  while (got < length) {
    ssize_t count = recv(fd, bytes + got, length - got, 0);
    if (count > 0) {
      got += static_cast<size_t>(count);
      continue;
    }
    if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
      break;
    int ready = wait_socket(fd, POLLIN, remaining_ms(deadline));
    if (ready <= 0 || (ready & POLLNVAL))
      break;
  }
  return got;
}
