// The soak run's own tools must be able to fail: the settings check must call a torn or mixed
// registry file torn, and the relay must really cut the link and really restore it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "e2e/process_support.h"
#include "support/temp_home.h"

namespace {

class SettingsCheckTest : public ::testing::Test {
 protected:
  int Saver(const std::string& arguments) {
    return std::system((std::string(SETTINGS_SAVER) + " " + arguments + " >/dev/null").c_str());
  }
  TempHome home_;
};

TEST_F(SettingsCheckTest, AWholeFileFromOneSavePasses) {
  ASSERT_EQ(0, Saver("save 3"));
  EXPECT_EQ(0, Saver("check"));
}

// Every cut of the file short of its whole length is torn, as is a value from another save.
TEST_F(SettingsCheckTest, ATornOrMixedFileFails) {
  ASSERT_EQ(0, Saver("save 3"));
  const std::string whole = home_.Read("registry.reg");
  for (std::size_t length :
       {std::size_t{0}, whole.size() / 3, whole.size() / 2, whole.size() - 1}) {
    home_.Write("registry.reg", whole.substr(0, length));
    EXPECT_NE(0, Saver("check")) << "cut at " << length;
  }
  std::string mixed = whole;
  mixed.replace(mixed.find("proxy-3.example"), 15, "proxy-2.example");
  home_.Write("registry.reg", mixed);
  EXPECT_NE(0, Saver("check"));
}

// A loopback connection to `port` (-1 when refused).
int Connect(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  timeval limit{10, 0};  // a broken relay fails the test instead of hanging it
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  return fd;
}

std::string Echoed(int fd) {
  char buffer[16] = {};
  ssize_t got = write(fd, "ping", 4) == 4 ? read(fd, buffer, sizeof buffer) : -1;
  return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : "";
}

// The relay forwards; a cut ends the relayed connection and refuses new ones; a restore
// forwards again.
TEST(TcpRelayTest, CutEndsAndRefusesConnectionsAndRestoreForwardsAgain) {
  e2e::TempDir dir;
  int target = e2e::FreePort(), listen = e2e::FreePort();
  e2e::ChildProcess echo, relay;
  echo.Start({"socat", "TCP-LISTEN:" + std::to_string(target) + ",bind=127.0.0.1,fork,reuseaddr",
              "EXEC:cat"},
             dir.path(), dir / "echo.out");
  ASSERT_TRUE(e2e::WaitForPort(target, 5000));
  relay.Start({"/usr/bin/python3", e2e::SourceDir() + "/tests/peers/tcp_relay.py",
               std::to_string(listen), std::to_string(target)},
              dir.path(), dir / "relay.out");
  ASSERT_TRUE(e2e::WaitForPort(listen, 5000));
  int before = Connect(listen);
  ASSERT_GE(before, 0);
  EXPECT_EQ("ping", Echoed(before));
  kill(relay.pid(), SIGUSR1);
  for (int i = 0; i < 100 && e2e::ReadFile(dir / "relay.out").find("cut") == std::string::npos;
       ++i) {
    usleep(50000);
  }
  char byte;
  EXPECT_LE(read(before, &byte, 1), 0);  // the end of the stream (or a reset), not silence
  close(before);
  EXPECT_EQ(-1, Connect(listen));
  kill(relay.pid(), SIGUSR2);
  ASSERT_TRUE(e2e::WaitForPort(listen, 5000));
  int after = Connect(listen);
  ASSERT_GE(after, 0);
  EXPECT_EQ("ping", Echoed(after));
  close(after);
}

}  // namespace
