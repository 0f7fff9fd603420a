#include "xmpp/connection_manager.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "xmpp/net_socket.h"
#include "xmpp/registry_read.h"

namespace {

bool route_check_enabled() {
  DWORD value = 1;
  registry_read_dword(kNetworkKey, "ROUTE CHECK", &value);
  return value != 0;
}

// The kernel picks a route for a connected UDP socket without sending anything.
bool has_route_to(const in_addr& address) {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return true;  // cannot tell: do not claim the network is down
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(9);
  target.sin_addr = address;
  bool routed = connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0;
  close(fd);
  return routed;
}

bool has_default_route() {
  std::FILE* routes = std::fopen("/proc/net/route", "r");
  if (!routes)
    return true;
  char line[256];
  bool found = false;
  while (!found && std::fgets(line, sizeof line, routes)) {
    char name[64];
    char destination[16];
    if (std::sscanf(line, "%63s %15s", name, destination) == 2 &&
        std::strcmp(destination, "00000000") == 0)
      found = true;
  }
  std::fclose(routes);
  return found;
}

// The host part of a server text: "domain", "domain@host" or "domain:port".
std::string host_of(const char* server) {
  std::string text = server ? server : "";
  size_t at = text.rfind('@');
  if (at != std::string::npos)
    text = text.substr(at + 1);
  size_t colon = text.find(':');
  if (colon != std::string::npos)
    text = text.substr(0, colon);
  return text;
}

bool is_up(const cm_connection* connection) {
  if (!connection->check_routes)
    return true;
  return connection->has_address ? has_route_to(connection->address) : has_default_route();
}

// -1 when the host gives no netlink socket (some sandboxes): the check then runs every time.
int open_route_watch() {
  int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
  if (fd < 0)
    return -1;
  sockaddr_nl local{};
  local.nl_family = AF_NETLINK;
  local.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE;
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// True when the watch heard of a change since the last look; a lost announcement (the
// socket's buffer overflowed) counts as one.
bool routes_changed(int fd) {
  char buffer[4096];
  bool changed = false;
  for (;;) {
    ssize_t got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got > 0 || (got < 0 && errno == ENOBUFS)) {
      changed = true;
    } else if (!(got < 0 && errno == EINTR)) {
      return changed;
    }
  }
}

}  // namespace

bool cm_wait_ready(DWORD) {
  return true;
}

int cm_establish(cm_connection* connection, const char* server) {
  if (connection->established && is_up(connection)) {
    connection->up = 1;
    return 0;
  }
  cm_release(connection);
  connection->check_routes = route_check_enabled();
  std::string host = host_of(server);
  connection->has_address = !host.empty() && resolve_ipv4(host.c_str(), &connection->address);
  // Opened before the first check, so that no change between the two goes unheard.
  if (connection->check_routes)
    connection->route_watch = open_route_watch();
  if (!is_up(connection)) {
    cm_release(connection);
    return -1;
  }
  connection->up = 1;
  connection->established = 1;
  return 0;
}

DWORD cm_status(cm_connection* connection) {
  if (!connection->established)
    return CONNMGR_STATUS_DISCONNECTED;
  if (connection->route_watch < 0 || routes_changed(connection->route_watch))
    connection->up = is_up(connection);
  return connection->up ? CONNMGR_STATUS_CONNECTED : CONNMGR_STATUS_DISCONNECTED;
}

void cm_release(cm_connection* connection) {
  connection->established = 0;
  connection->has_address = 0;
  connection->up = 0;
  if (connection->route_watch >= 0)
    close(connection->route_watch);
  connection->route_watch = -1;
}

DWORD cm_login_timeout() {
  DWORD value = 45000;
  registry_read_dword(kNetworkKey, "LOGIN TIMEOUT", &value);
  return value;
}
