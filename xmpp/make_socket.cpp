#include "xmpp/make_socket.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "xmpp/net_socket.h"
#include "xmpp/tls_channel.h"

namespace {

constexpr int kConnectTimeoutMs = 20000;

}  // namespace

int secure_socket(int fd, const char* server_name, tls_channel** tls, socket_failure* failure) {
  tls_config config = tls_config_load();
  *tls = tls_open(fd, server_name, config, failure->text, sizeof failure->text, &failure->refused);
  return *tls ? 0 : -1;
}

int make_socket(int port, const char* host, int secure, const char* server_name, tls_channel** tls,
                socket_failure* failure) {
  failure->text[0] = '\0';
  failure->refused = 0;
  *tls = nullptr;
  in_addr address;
  if (!resolve_ipv4(host, &address)) {
    std::snprintf(failure->text, sizeof failure->text, "the name '%s' could not be resolved",
                  host ? host : "");
    return -1;
  }
  int fd = tcp_connect(address, port, kConnectTimeoutMs);
  if (fd < 0) {
    std::snprintf(failure->text, sizeof failure->text, "%s", std::strerror(errno));
    return -1;
  }
  if (secure && secure_socket(fd, server_name, tls, failure) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}
