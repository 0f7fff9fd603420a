#include "xmpp/tls_channel.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <string>

#include "xmpp/net_socket.h"

struct tls_channel {
  SSL_CTX* context;
  SSL* ssl;
  int fd;
};

namespace {

constexpr int kHandshakeTimeoutMs = 10000;

using Clock = std::chrono::steady_clock;

void set_error(char* error, size_t size, const char* format, const char* a, const char* b = "") {
  if (error && size)
    std::snprintf(error, size, format, a, b);
}

// OpenSSL writes to the socket with write(), which raises SIGPIPE when the peer has gone;
// a network client must get an error code instead, so the signal is ignored once for the
// process.
void ignore_sigpipe() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

bool is_ip_literal(const char* name) {
  in_addr v4;
  in6_addr v6;
  return inet_pton(AF_INET, name, &v4) == 1 || inet_pton(AF_INET6, name, &v6) == 1;
}

SSL_CTX* make_context(const tls_config& config) {
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  if (!context)
    return nullptr;
  SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
  SSL_CTX_set_default_verify_paths(context);
  if (!config.ca_file.empty())
    SSL_CTX_load_verify_locations(context, config.ca_file.c_str(), nullptr);
  // The chain is verified during the handshake but judged afterwards (verify_peer below), so
  // the reason of a refusal can be told to the user.
  SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
  SSL_CTX_set_mode(context, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  return context;
}

std::string fingerprint(X509* certificate) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!X509_digest(certificate, EVP_sha256(), digest, &length))
    return "";
  std::string hex;
  char pair[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", digest[i]);
    hex += pair;
  }
  return hex;
}

// Runs one SSL operation to completion on the non-blocking socket: 1 when done, 0 on time-out
// or failure.
template <typename Step>
int drive(tls_channel* channel, Step step, Clock::time_point deadline) {
  for (;;) {
    int result = step();
    if (result > 0)
      return 1;
    int error = SSL_get_error(channel->ssl, result);
    short events;
    if (error == SSL_ERROR_WANT_READ)
      events = POLLIN;
    else if (error == SSL_ERROR_WANT_WRITE)
      events = POLLOUT;
    else
      return 0;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || wait_socket(channel->fd, events, static_cast<int>(left.count())) <= 0)
      return 0;
  }
}

bool verify_peer(tls_channel* channel, const char* server_name, const tls_config& config,
                 char* error, size_t error_size) {
  X509* certificate = SSL_get1_peer_certificate(channel->ssl);
  if (!certificate) {
    set_error(error, error_size, "the server '%s' sent no certificate", server_name);
    return false;
  }
  bool accepted;
  if (!config.pinned_sha256.empty()) {
    accepted = fingerprint(certificate) == config.pinned_sha256;
    if (!accepted)
      set_error(error, error_size,
                "the certificate of '%s' does not match the pinned certificate fingerprint",
                server_name);
  } else {
    long result = SSL_get_verify_result(channel->ssl);
    accepted = result == X509_V_OK;
    if (!accepted)
      set_error(error, error_size, "the certificate of '%s' could not be verified (%s)",
                server_name, X509_verify_cert_error_string(result));
  }
  X509_free(certificate);
  return accepted;
}

}  // namespace

tls_channel* tls_open(int fd, const char* server_name, const tls_config& config, char* error,
                      size_t error_size, int* refused) {
  *refused = 0;
  ignore_sigpipe();
  auto* channel = new tls_channel{make_context(config), nullptr, fd};
  if (channel->context)
    channel->ssl = SSL_new(channel->context);
  if (!channel->ssl) {
    set_error(error, error_size, "the TLS library could not be initialised%s", "");
    tls_close(channel, false);
    return nullptr;
  }
  SSL_set_fd(channel->ssl, fd);
  X509_VERIFY_PARAM* param = SSL_get0_param(channel->ssl);
  if (is_ip_literal(server_name)) {
    X509_VERIFY_PARAM_set1_ip_asc(param, server_name);
  } else {
    SSL_set_tlsext_host_name(channel->ssl, server_name);
    X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    X509_VERIFY_PARAM_set1_host(param, server_name, 0);
  }
  auto deadline = Clock::now() + std::chrono::milliseconds(kHandshakeTimeoutMs);
  ERR_clear_error();
  if (!drive(
          channel, [&] { return SSL_connect(channel->ssl); }, deadline)) {
    char reason[160];
    ERR_error_string_n(ERR_get_error(), reason, sizeof reason);
    set_error(error, error_size, "the TLS handshake with '%s' failed (%s)", server_name, reason);
    tls_close(channel, false);
    return nullptr;
  }
  if (!verify_peer(channel, server_name, config, error, error_size)) {
    *refused = 1;
    tls_close(channel, true);
    return nullptr;
  }
  return channel;
}

int tls_read(tls_channel* channel, char* buffer, size_t size) {
  ERR_clear_error();
  int result = SSL_read(channel->ssl, buffer, static_cast<int>(size));
  if (result > 0)
    return result;
  switch (SSL_get_error(channel->ssl, result)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
      return TLS_WOULD_BLOCK;
    case SSL_ERROR_ZERO_RETURN:
      return 0;
    default:
      return -1;
  }
}

int tls_write_step(tls_channel* channel, const char* data, size_t length, short* wait_events) {
  if (length == 0)
    return 1;
  ERR_clear_error();
  int result = SSL_write(channel->ssl, data, static_cast<int>(length));
  if (result > 0)
    return 1;
  switch (SSL_get_error(channel->ssl, result)) {
    case SSL_ERROR_WANT_READ:
      *wait_events = POLLIN;
      return 0;
    case SSL_ERROR_WANT_WRITE:
      *wait_events = POLLOUT;
      return 0;
    default:
      return -1;
  }
}

size_t tls_pending(tls_channel* channel) {
  int pending = SSL_pending(channel->ssl);
  return pending > 0 ? static_cast<size_t>(pending) : 0;
}

void tls_close(tls_channel* channel, bool notify) {
  if (!channel)
    return;
  if (channel->ssl) {
    if (notify)
      SSL_shutdown(channel->ssl);
    SSL_free(channel->ssl);
  }
  if (channel->context)
    SSL_CTX_free(channel->context);
  delete channel;
}

std::string tls_file_fingerprint(const char* pem_path) {
  std::FILE* file = std::fopen(pem_path, "r");
  if (!file)
    return "";
  X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  if (!certificate)
    return "";
  std::string hex = fingerprint(certificate);
  X509_free(certificate);
  return hex;
}
