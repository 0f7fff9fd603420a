// Logging in through microsocks, a real SOCKS5 proxy with user name and password.
#include "engine_fixture.h"
#include "prosody_server.h"

namespace e2e {
namespace {

class Socks5ProxyTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    server_.AddAccount("notls.test", "alice", "secret");
    ASSERT_TRUE(server_.Start()) << server_.Log();
    proxy_port_ = FreePort();
    proxy_.Start({"microsocks", "-i", "127.0.0.1", "-p", std::to_string(proxy_port_), "-u",
                  "proxyuser", "-P", "proxypass"},
                 dir_.path(), dir_ / "microsocks.log");
    ASSERT_TRUE(WaitForPort(proxy_port_, 5000));
    MSettings& settings = host_->Settings();
    settings.enableProxy = true;
    settings.proxyServer = "127.0.0.1";
    settings.proxyPort = static_cast<DWORD>(proxy_port_);
    settings.proxyUsername = "proxyuser";
  }

  TempDir dir_;
  ProsodyServer server_;
  ChildProcess proxy_;
  int proxy_port_ = 0;
};

TEST_F(Socks5ProxyTest, LogsInThroughTheProxy) {
  host_->Settings().proxyPassword = "proxypass";
  ASSERT_TRUE(LoginToRoster("notls.test@127.0.0.1", "alice", "secret", server_.c2s_port()))
      << Lines();
  EXPECT_TRUE(host_->HasLogLine("<p>Connecting to proxy server '127.0.0.1'...</p>"));
  EXPECT_TRUE(host_->HasLogLine("<p>Proxy connection successful</p>"));
  Logout();
}

TEST_F(Socks5ProxyTest, ARefusingProxyFallsBackToADirectConnection) {
  host_->Settings().proxyPassword = "wrong";
  ASSERT_TRUE(LoginToRoster("notls.test@127.0.0.1", "alice", "secret", server_.c2s_port()))
      << Lines();
  std::vector<std::string> lines = host_->LogLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ("<p>Connecting to proxy server '127.0.0.1'...</p>", lines[1]);
  EXPECT_EQ("<p><b>Proxy connection unsuccessful</p>", lines[2]);
  EXPECT_EQ(
      "<p>Please check your proxy settings using the \"Menu->Setup->Advanced\" "
      "menu.</p></b>",
      lines[3]);
  EXPECT_EQ("<p>Attempting to login without a proxy...</p>", lines[4]);
  Logout();
}

}  // namespace
}  // namespace e2e
