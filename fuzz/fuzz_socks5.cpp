// The SOCKS5 client's handling of the proxy's replies: the method choice, the password
// answer and the connect reply with its bound address, fed arbitrary server bytes. The
// exchange works on a socket, so it runs over a socketpair whose far end already holds the
// fuzz bytes and is shut for writing: a short reply ends the read at once, never by time-out.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The exchange is internal to the client; it is compiled into this target to be reached.
#include "xmpp/socks5.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends) != 0)
    return 0;
  // The replies are a few hundred bytes at most; what the socket does not take is never read.
  ssize_t written = size > 0 ? send(ends[1], data, size, MSG_NOSIGNAL) : 0;
  (void)written;
  shutdown(ends[1], SHUT_WR);
  in_addr destination{};
  destination.s_addr = htonl(0x7F000001);
  int error = negotiate(ends[0], "user", "secret", destination, 5222);
  if (error != 0 && error != SOCKS5_ERR_REFUSED && error != SOCKS5_ERR_NET_UNREACH &&
      error != SOCKS5_ERR_HOST_UNREACH && error != SOCKS5_ERR_TIMED_OUT &&
      error != SOCKS5_ERR_ABORTED)
    std::abort();
  close(ends[0]);
  close(ends[1]);
  return 0;
}
