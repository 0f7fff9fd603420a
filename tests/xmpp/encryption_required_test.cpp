// With "ENCRYPT SESSIONS" on, a clear stream (the retry on the port below a failed direct TLS
// connection) must be secured before any credentials leave the client: a server that cannot
// secure it ends the login with a log line, and what the client wrote holds no credentials.
#include "wire_fixture.h"

namespace {

const char kNoEncryption[] =
    "<p>Connection to the server ended: the server does not offer encryption.</p>";

struct ClearServer {
  const char* name;
  bool v1;
  bool create_account;
  const char* features;  // sent after the header; "" for none
};

class EncryptionRequiredTest : public WireTest {
 protected:
  void SetUp() override {
    WireTest::SetUp();
    host_->Settings().encryptSessions = true;
  }

  // Nothing that carries or starts a login may have gone out.
  static void ExpectNoCredentials(const std::string& sent, const char* name) {
    for (const char* credential : {"<auth ", "jabber:iq:auth", "jabber:iq:register", "secret"})
      EXPECT_EQ(std::string::npos, sent.find(credential)) << name << ": " << sent;
  }
};

TEST_F(EncryptionRequiredTest, AClearStreamThatCannotBeSecuredSendsNoCredentials) {
  const ClearServer servers[] = {
      {"SASL PLAIN without STARTTLS", true, false,
       "<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
       "<mechanism>PLAIN</mechanism></mechanisms></stream:features>"},
      {"no features at all but the legacy login", true, false, "<stream:features/>"},
      {"registration without STARTTLS", true, true,
       "<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
       "<mechanism>PLAIN</mechanism></mechanisms></stream:features>"},
      {"stream without version 1.0", false, false, ""},
      {"registration on a stream without version 1.0", false, true, ""},
  };
  for (const ClearServer& server : servers) {
    Attach("alice@example.org/orvik", "secret");
    session_->create_account = server.create_account ? 1 : 0;
    host_->ClearLog();
    OpenStream(server.v1);
    Server(server.features);
    std::string sent = Raw();
    ExpectNoCredentials(sent, server.name);
    EXPECT_TRUE(host_->HasLogLine(kNoEncryption)) << server.name;
    EXPECT_TRUE(PeerSeesEnd()) << server.name;
  }
}

TEST_F(EncryptionRequiredTest, WithTheSettingOffTheClearLoginGoesOn) {
  host_->Settings().encryptSessions = false;
  OpenStream();
  Sent();
  Server(
      "<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
      "<mechanism>PLAIN</mechanism></mechanisms></stream:features>");
  EXPECT_NE(std::string::npos, Sent().find("mechanism='PLAIN'"));
  EXPECT_FALSE(host_->HasLogLine(kNoEncryption));
}

}  // namespace
