#include "xmpp/socks5.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "xmpp/net_socket.h"

namespace {

constexpr int kTimeoutMs = 20000;
constexpr uint8_t kVersion = 5;
constexpr uint8_t kMethodNone = 0;
constexpr uint8_t kMethodPassword = 2;

// The proxy's address: a first character from '1' to '9' means a dotted address, anything
// else a name.
bool proxy_address(const char* host, in_addr* out) {
  if (host && host[0] >= '1' && host[0] <= '9')
    return inet_pton(AF_INET, host, out) == 1;
  return resolve_ipv4(host, out);
}

bool exchange(int fd, const std::vector<uint8_t>& request, uint8_t* reply, size_t reply_size) {
  if (send_all(fd, request.data(), request.size(), kTimeoutMs) < 0)
    return false;
  return recv_exact(fd, reply, reply_size, kTimeoutMs) == reply_size;
}

// RFC 1929: version 1, then the user name and the password, each with its length byte.
int authenticate(int fd, const char* user, const char* password) {
  size_t user_length = std::strlen(user);
  size_t password_length = std::strlen(password);
  if (user_length > 255 || password_length > 255)
    return SOCKS5_ERR_REFUSED;
  std::vector<uint8_t> request{1, static_cast<uint8_t>(user_length)};
  request.insert(request.end(), user, user + user_length);
  request.push_back(static_cast<uint8_t>(password_length));
  request.insert(request.end(), password, password + password_length);
  uint8_t reply[2];
  if (!exchange(fd, request, reply, sizeof reply) || reply[0] != 1 || reply[1] != 0)
    return SOCKS5_ERR_REFUSED;
  return 0;
}

// The rest of a connect reply after its first four bytes: the bound address and port, whose
// length depends on the address type.
bool skip_bound_address(int fd, uint8_t address_type) {
  size_t length;
  uint8_t name_length = 0;
  switch (address_type) {
    case 1:
      length = 4 + 2;
      break;
    case 4:
      length = 16 + 2;
      break;
    case 3:
      if (recv_exact(fd, &name_length, 1, kTimeoutMs) != 1)
        return false;
      length = name_length + 2u;
      break;
    default:
      return false;
  }
  uint8_t rest[258];
  return recv_exact(fd, rest, length, kTimeoutMs) == length;
}

int request_connect(int fd, const in_addr& destination, int port) {
  std::vector<uint8_t> request{kVersion, 1, 0, 1};
  const auto* address = reinterpret_cast<const uint8_t*>(&destination.s_addr);
  request.insert(request.end(), address, address + 4);
  request.push_back(static_cast<uint8_t>((port >> 8) & 0xFF));
  request.push_back(static_cast<uint8_t>(port & 0xFF));
  uint8_t head[4];
  if (!exchange(fd, request, head, sizeof head) || head[0] != kVersion)
    return SOCKS5_ERR_REFUSED;
  if (head[1] != 0)
    return socks5_reply_error(head[1]);
  if (head[2] != 0 || !skip_bound_address(fd, head[3]))
    return SOCKS5_ERR_REFUSED;
  return 0;
}

int negotiate(int fd, const char* user, const char* password, const in_addr& destination,
              int port) {
  uint8_t reply[2];
  if (!exchange(fd, {kVersion, 2, kMethodPassword, kMethodNone}, reply, sizeof reply) ||
      reply[0] != kVersion)
    return SOCKS5_ERR_REFUSED;
  if (reply[1] == kMethodPassword) {
    if (int error = authenticate(fd, user ? user : "", password ? password : ""))
      return error;
  } else if (reply[1] != kMethodNone) {
    return SOCKS5_ERR_REFUSED;  // 255: no acceptable method; anything else was not offered
  }
  return request_connect(fd, destination, port);
}

}  // namespace

int socks5_reply_error(int code) {
  switch (code) {
    case 3:
      return SOCKS5_ERR_NET_UNREACH;
    case 4:
      return SOCKS5_ERR_HOST_UNREACH;
    case 5:
      return SOCKS5_ERR_REFUSED;
    case 6:
      return SOCKS5_ERR_TIMED_OUT;
    default:
      return SOCKS5_ERR_ABORTED;
  }
}

int socks5_connect(const char* proxy_host, int proxy_port, const char* proxy_user,
                   const char* proxy_password, const char* destination_host, int destination_port,
                   int* fd) {
  *fd = -1;
  in_addr proxy;
  in_addr destination;
  if (!proxy_address(proxy_host, &proxy) || !resolve_ipv4(destination_host, &destination))
    return SOCKS5_ERR_REFUSED;
  int socket = tcp_connect(proxy, proxy_port, kTimeoutMs);
  if (socket < 0)
    return SOCKS5_ERR_REFUSED;
  int error = negotiate(socket, proxy_user, proxy_password, destination, destination_port);
  if (error != 0) {
    close(socket);
    return error;
  }
  *fd = socket;
  return 0;
}
