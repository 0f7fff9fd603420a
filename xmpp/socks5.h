// A SOCKS version 5 client (RFC 1928) with user name and password authentication (RFC 1929).
#pragma once

// Results: 0 on success, else the Winsock error number the product has always reported.
enum {
  SOCKS5_ERR_REFUSED = 10061,       // WSAECONNREFUSED: the proxy failed or refused
  SOCKS5_ERR_NET_UNREACH = 10051,   // WSAENETUNREACH
  SOCKS5_ERR_HOST_UNREACH = 10065,  // WSAEHOSTUNREACH
  SOCKS5_ERR_TIMED_OUT = 10060,     // WSAETIMEDOUT
  SOCKS5_ERR_ABORTED = 10053,       // WSAECONNABORTED: any other failure reported by the proxy
};

// Connects through the proxy to `destination_host`:`destination_port` (resolved here to an
// IPv4 address). On success *fd is the proxy's socket, now carrying the destination's stream,
// and belongs to the caller.
int socks5_connect(const char* proxy_host, int proxy_port, const char* proxy_user,
                   const char* proxy_password, const char* destination_host, int destination_port,
                   int* fd);
// The Winsock error number for a SOCKS5 reply code.
int socks5_reply_error(int code);
