// The connection's socket: TCP to the server, optionally with TLS.
#pragma once

#include <cstddef>

struct tls_channel;

// Why make_socket failed, for the log window.
struct socket_failure {
  char text[256];  // "" when there is nothing more to say than "cannot connect"
  int refused;     // 1: TLS worked but the certificate was not accepted
};

// A socket connected to `host`:`port` (an empty host is this machine), non-blocking, with
// address reuse, no-delay and keep-alive. With `secure`, the TLS handshake is made on it for
// `server_name` and the channel stored in *tls. -1 on failure.
int make_socket(int port, const char* host, int secure, const char* server_name, tls_channel** tls,
                socket_failure* failure);
// The TLS handshake on an already connected socket (the SOCKS5 proxy's, or STARTTLS). 0 / -1.
int secure_socket(int fd, const char* server_name, tls_channel** tls, socket_failure* failure);
