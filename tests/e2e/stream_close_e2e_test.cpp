// Logging off closes the stream the way a real server expects, in clear and over TLS: Prosody
// receives the closing tag and ends the session as closed by the client, not as a connection
// that dropped (which it logs with the reason, "unexpected eof while reading" over TLS).
#include "engine_fixture.h"
#include "prosody_server.h"

namespace e2e {
namespace {

struct Path {
  const char* name;
  const char* domain;
  bool direct_tls;
};

class StreamCloseE2eTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    for (const char* host : {"localhost", "secure.test", "notls.test"})
      server_.AddAccount(host, "alice", "secret");
    server_.EnableDebugLog();
    ASSERT_TRUE(server_.Start()) << server_.Log();
    TrustCa(TestCa::Get().ca_file());
  }

  ProsodyServer server_;
};

TEST_F(StreamCloseE2eTest, LogOffIsACleanCloseForTheServer) {
  for (const Path& path :
       {Path{"plain", "notls.test", false}, Path{"STARTTLS", "secure.test", false},
        Path{"direct TLS", "localhost", true}}) {
    SCOPED_TRACE(path.name);
    host_ = std::make_unique<HeadlessHost>();
    host_->Settings().encryptSessions = path.direct_tls;
    int port = path.direct_tls ? server_.tls_port() : server_.c2s_port();
    ASSERT_TRUE(LoginToRoster(std::string(path.domain) + "@127.0.0.1", "alice", "secret", port))
        << Lines();
    EXPECT_EQ(path.name != std::string("plain"), session()->conn->tls != nullptr);
    Logout();
    std::string bare = std::string("alice@") + path.domain;
    std::string log = server_.Log();
    EXPECT_NE(std::string::npos,
              log.find("c2s stream for " + bare + "/orvik closed: session closed"))
        << log;
    // A clean unbind names no reason; a dropped connection's carries one.
    EXPECT_NE(std::string::npos,
              log.find("Unbinding resource for " + bare + "/orvik (" + bare + ")\n"))
        << log;
  }
  EXPECT_EQ(std::string::npos, server_.Log().find("Read error, closing"));
}

}  // namespace
}  // namespace e2e
