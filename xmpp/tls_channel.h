// TLS over a connected socket (OpenSSL, TLS 1.2 or newer). The server's certificate is
// verified against the system CA store (plus the extra CA file of tls_config.h) and the XMPP
// domain, or matched against the pinned fingerprint when one is configured. A certificate
// that fails is a refused connection, never a silent downgrade.
#pragma once

#include <cstddef>

#include "xmpp/tls_config.h"

struct tls_channel;

enum { TLS_WOULD_BLOCK = -2 };

// The handshake on the connected, non-blocking socket `fd` for `server_name` (SNI and name
// check). Null on failure with a reason in `error`; *refused is 1 when the handshake worked
// but the certificate was not accepted. The socket stays the caller's.
tls_channel* tls_open(int fd, const char* server_name, const tls_config& config, char* error,
                      size_t error_size, int* refused);
// >0 bytes read, 0 at the end of the stream, -1 on error, TLS_WOULD_BLOCK when no whole record
// is there yet.
int tls_read(tls_channel* channel, char* buffer, size_t size);
// One attempt to write all `length` bytes: 1 when written, 0 when the socket must first
// become ready for *wait_events (then call again with the same bytes), -1 on error.
int tls_write_step(tls_channel* channel, const char* data, size_t length, short* wait_events);
// Decrypted bytes held inside the channel (a read returns them without touching the socket).
size_t tls_pending(tls_channel* channel);
// Sends the closing alert when `notify` and frees the channel (not the socket).
void tls_close(tls_channel* channel, bool notify);
// The SHA-256 fingerprint of a PEM certificate file, as tls_config stores it ("" on failure).
// For tests and for users who want to pin a certificate they hold.
std::string tls_file_fingerprint(const char* pem_path);
