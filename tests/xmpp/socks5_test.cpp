// The SOCKS5 client against a scripted proxy: the replies a real proxy seldom gives (short,
// malformed, every error code) are what these tests are about; microsocks itself is driven by
// the end-to-end tests.
#include "xmpp/socks5.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class ScriptedProxy {
 public:
  explicit ScriptedProxy(std::function<void(int)> script) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listen(listener_, 1);
    thread_ = std::thread([this, script] {
      int fd = accept(listener_, nullptr, nullptr);
      if (fd >= 0) {
        script(fd);
        close(fd);
      }
    });
  }
  ~ScriptedProxy() {
    thread_.join();
    close(listener_);
  }
  int port() const { return port_; }

  static Bytes Read(int fd, size_t count) {
    Bytes bytes(count);
    size_t got = 0;
    while (got < count) {
      ssize_t n = read(fd, bytes.data() + got, count - got);
      if (n <= 0)
        break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  }
  static void Write(int fd, const Bytes& bytes) {
    ssize_t ignored = write(fd, bytes.data(), bytes.size());
    (void)ignored;
  }

 private:
  int listener_;
  int port_ = 0;
  std::thread thread_;
};

int Connect(const ScriptedProxy& proxy, int* fd, const char* user = "u",
            const char* password = "pw") {
  return socks5_connect("127.0.0.1", proxy.port(), user, password, "127.0.0.1", 5222, fd);
}

const Bytes kSuccessIpv4 = {5, 0, 0, 1, 127, 0, 0, 1, 0x14, 0x66};

TEST(Socks5, NoAuthenticationGoesStraightToTheTenByteRequest) {
  Bytes greeting;
  Bytes request;
  ScriptedProxy proxy([&](int fd) {
    greeting = ScriptedProxy::Read(fd, 4);
    ScriptedProxy::Write(fd, {5, 0});
    request = ScriptedProxy::Read(fd, 10);
    ScriptedProxy::Write(fd, kSuccessIpv4);
    ScriptedProxy::Write(fd, {'h', 'i'});
  });
  int fd = -1;
  ASSERT_EQ(0, Connect(proxy, &fd));
  char stream[2];
  pollfd entry{fd, POLLIN, 0};
  ASSERT_EQ(1, poll(&entry, 1, 5000));
  ASSERT_EQ(2, recv(fd, stream, 2, MSG_WAITALL));  // the socket now carries the stream
  close(fd);
  EXPECT_EQ((Bytes{5, 2, 2, 0}), greeting);
  EXPECT_EQ((Bytes{5, 1, 0, 1, 127, 0, 0, 1, 0x14, 0x66}), request);
}

TEST(Socks5, UserNameAndPasswordSubNegotiation) {
  Bytes auth;
  ScriptedProxy proxy([&](int fd) {
    ScriptedProxy::Read(fd, 4);
    ScriptedProxy::Write(fd, {5, 2});
    auth = ScriptedProxy::Read(fd, 1 + 1 + 5 + 1 + 6);
    ScriptedProxy::Write(fd, {1, 0});
    ScriptedProxy::Read(fd, 10);
    // A bound address given as a name is read to its end.
    ScriptedProxy::Write(fd, {5, 0, 0, 3, 4, 'h', 'o', 's', 't', 0, 80});
  });
  int fd = -1;
  ASSERT_EQ(0, Connect(proxy, &fd, "alice", "s3cret"));
  close(fd);
  EXPECT_EQ((Bytes{1, 5, 'a', 'l', 'i', 'c', 'e', 6, 's', '3', 'c', 'r', 'e', 't'}), auth);
}

TEST(Socks5, RefusedAuthenticationAndMethodsFailWith10061) {
  std::vector<std::function<void(int)>> scripts = {
      [](int fd) {  // no acceptable method
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {5, 255});
      },
      [](int fd) {  // a method that was not offered
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {5, 1});
      },
      [](int fd) {  // wrong credentials
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {5, 2});
        ScriptedProxy::Read(fd, 6);
        ScriptedProxy::Write(fd, {1, 1});
      },
      [](int fd) {  // a one-byte answer, then the end
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {5});
      },
      [](int fd) {  // not SOCKS version 5
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {4, 0});
      },
      [](int fd) {  // a connect reply cut short
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {5, 0});
        ScriptedProxy::Read(fd, 10);
        ScriptedProxy::Write(fd, {5, 0, 0, 1, 127});
      },
      [](int fd) {  // an unknown address type in the reply
        ScriptedProxy::Read(fd, 4);
        ScriptedProxy::Write(fd, {5, 0});
        ScriptedProxy::Read(fd, 10);
        ScriptedProxy::Write(fd, {5, 0, 0, 9, 1, 2, 3, 4, 5, 6});
      },
  };
  for (size_t i = 0; i < scripts.size(); ++i) {
    ScriptedProxy proxy(scripts[i]);
    int fd = -1;
    EXPECT_EQ(SOCKS5_ERR_REFUSED, Connect(proxy, &fd)) << "script " << i;
    EXPECT_EQ(-1, fd);
  }
}

TEST(Socks5, ReplyCodesMapToWinsockErrors) {
  const int codes[][2] = {{1, 10053}, {2, 10053}, {3, 10051}, {4, 10065},
                          {5, 10061}, {6, 10060}, {7, 10053}, {8, 10053}};
  for (const auto& code : codes) {
    ScriptedProxy proxy([&](int fd) {
      ScriptedProxy::Read(fd, 4);
      ScriptedProxy::Write(fd, {5, 0});
      ScriptedProxy::Read(fd, 10);
      ScriptedProxy::Write(fd, {5, static_cast<uint8_t>(code[0]), 0, 1, 0, 0, 0, 0, 0, 0});
    });
    int fd = -1;
    EXPECT_EQ(code[1], Connect(proxy, &fd)) << "reply code " << code[0];
  }
}

TEST(Socks5, AProxyThatIsNotThereIsRefused) {
  int fd = -1;
  EXPECT_EQ(SOCKS5_ERR_REFUSED, socks5_connect("127.0.0.1", 1, "", "", "127.0.0.1", 5222, &fd));
}

}  // namespace
