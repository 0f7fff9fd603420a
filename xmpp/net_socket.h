// Small POSIX socket helpers shared by the connection, the SOCKS5 client and TLS. They never
// raise SIGPIPE (a peer that goes away is an error code, not a dead process).
#pragma once

#include <netinet/in.h>

#include <cstddef>

// Resolves `host` to an IPv4 address: a dotted address directly, else the first address of a
// name lookup; an empty host means this machine's own host name. False when it cannot be
// resolved.
bool resolve_ipv4(const char* host, in_addr* out);
// A TCP socket connected to `address`:`port` within `timeout_ms`, with address reuse, no-delay
// and keep-alive switched on, close-on-exec, and left non-blocking. -1 on failure (errno says
// why).
int tcp_connect(const in_addr& address, int port, int timeout_ms);
// poll() for `events` on one socket: the returned events, 0 on time-out, -1 on error.
int wait_socket(int fd, short events, int timeout_ms);
// Sends every byte within `timeout_ms` (non-blocking socket). 0, or -1.
int send_all(int fd, const void* data, size_t length, int timeout_ms);
// Receives exactly `length` bytes within `timeout_ms`: the number received (fewer on end of
// stream, error or time-out).
size_t recv_exact(int fd, void* data, size_t length, int timeout_ms);
