// Logging in to a real Prosody 0.12 in every way the engine knows.
#include <cstdio>

#include "engine_fixture.h"
#include "prosody_server.h"
#include "xmpp/tls_channel.h"

namespace e2e {
namespace {

class ProsodyTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    for (const char* host : {"localhost", "secure.test", "notls.test", "legacy.test"})
      server_.AddAccount(host, "alice", "secret");
  }
  void StartServer() { ASSERT_TRUE(server_.Start()) << server_.Log(); }
  // A virtual host reached through the loopback address.
  static std::string At(const std::string& domain) { return domain + "@127.0.0.1"; }

  ProsodyServer server_;
};

TEST_F(ProsodyTest, SaslPlainWithoutTlsThroughBindAndSessionToTheRoster) {
  server_.AddRoster("notls.test", "alice", 3);
  StartServer();
  host_->Settings().debugMode = true;
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "alice", "secret", server_.c2s_port())) << Lines();
  EXPECT_EQ(3, host_->roster_items());
  EXPECT_EQ(1, host_->logged_in_count());
  EXPECT_EQ(SESSION_ONLINE, session()->state.load());
  EXPECT_EQ(nullptr, session()->conn->tls);
  EXPECT_EQ("alice@notls.test/orvik", session_own_address(session()));
  std::string trace = home_.Read("device/WINDOWS/debuglog.xml");
  EXPECT_NE(std::string::npos, trace.find("mechanism='PLAIN'>***</auth>"));
  EXPECT_NE(std::string::npos, trace.find("urn:ietf:params:xml:ns:xmpp-session"));
  EXPECT_EQ(std::string::npos, trace.find("secret"));
  Logout();
}

TEST_F(ProsodyTest, StartTlsWithTheTestCaBeforeAuthentication) {
  StartServer();
  TrustCa(TestCa::Get().ca_file());
  ASSERT_TRUE(LoginToRoster(At("secure.test"), "alice", "secret", server_.c2s_port()))
      << Lines() << server_.Log();
  EXPECT_NE(nullptr, session()->conn->tls);
  Logout();
}

TEST_F(ProsodyTest, ARefusedCertificateGetsTheSameReportOnTheTlsPortAndInStartTls) {
  ProsodyServer wrong({"wrong.example"});
  wrong.AddAccount("localhost", "alice", "secret");
  ASSERT_TRUE(wrong.Start()) << wrong.Log();
  TrustCa(TestCa::Get().ca_file());
  struct Path {
    const char* name;
    bool encrypt;  // direct TLS on the port given
    int port;
  };
  for (const Path& path :
       {Path{"direct TLS", true, wrong.tls_port()}, Path{"STARTTLS", false, wrong.c2s_port()}}) {
    host_ = std::make_unique<HeadlessHost>();
    host_->Settings().encryptSessions = path.encrypt;
    host_->SetLoginRequested(true);
    EXPECT_FALSE(LoginToRoster(At("localhost"), "alice", "secret", path.port)) << path.name;
    ASSERT_TRUE(host_->WaitLoginThread(10000));
    std::vector<std::string> lines = host_->LogLines();
    ASSERT_GE(lines.size(), 3u) << path.name << "\n" << Lines();
    size_t refused = 0;
    while (refused < lines.size() && lines[refused].rfind("<p>Secure connection refused: ", 0) != 0)
      ++refused;
    ASSERT_LT(refused + 2, lines.size()) << path.name << "\n" << Lines();
    EXPECT_EQ(0u, lines[refused].find("<p>Secure connection refused: the certificate of "
                                      "'localhost' could not be verified"))
        << path.name;
    EXPECT_EQ("<p>Cannot connect to Jabber server '" + At("localhost") + "'.</p>",
              lines[refused + 1])
        << path.name;
    EXPECT_EQ(
        "<P>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" menu.</P>",
        lines[refused + 2])
        << path.name;
    EXPECT_EQ(std::vector<std::string>{"Cannot connect to the Jabber server. Check your settings "
                                       "by selecting \"Run Setup Wizard\" from the \"Menu\" "
                                       "menu."},
              host_->MessageBoxes())
        << path.name;
    EXPECT_EQ(LOGIN_ERROR_UNREACHABLE, session()->login_error) << path.name;
    EXPECT_EQ(0, host_->logged_in_count()) << path.name;
  }
}

TEST_F(ProsodyTest, APinnedCertificateIsAcceptedWhateverItsNameAndNoOtherIs) {
  ProsodyServer wrong({"wrong.example"});
  wrong.AddAccount("secure.test", "alice", "secret");
  ASSERT_TRUE(wrong.Start()) << wrong.Log();
  std::string pin = tls_file_fingerprint(wrong.certificate_file().c_str());
  ASSERT_EQ(64u, pin.size());
  std::string typed;  // as a user would copy it: upper case with colons
  for (size_t i = 0; i < pin.size(); i += 2)
    typed += (i ? ":" : "") + pin.substr(i, 2);
  for (char& c : typed)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  SetRegistryText(u"Software\\orvik\\TLS", "PINNED CERTIFICATE", typed);
  ASSERT_TRUE(LoginToRoster(At("secure.test"), "alice", "secret", wrong.c2s_port())) << Lines();
  Logout();

  // The right chain is not enough once a pin is set: this server's certificate is another.
  StartServer();
  TrustCa(TestCa::Get().ca_file());
  EXPECT_FALSE(LoginToRoster(At("secure.test"), "alice", "secret", server_.c2s_port()));
  host_->WaitLoginThread(10000);
  EXPECT_NE(std::string::npos, Lines().find("does not match the pinned certificate fingerprint"))
      << Lines();
}

TEST_F(ProsodyTest, WithoutTheCaTheServerCertificateIsRefused) {
  StartServer();
  EXPECT_FALSE(LoginToRoster(At("secure.test"), "alice", "secret", server_.c2s_port()));
  host_->WaitLoginThread(10000);
  EXPECT_NE(std::string::npos, Lines().find("could not be verified")) << Lines();
}

TEST_F(ProsodyTest, DirectTlsOnTheSecondPort) {
  StartServer();
  TrustCa(TestCa::Get().ca_file());
  host_->Settings().encryptSessions = true;
  ASSERT_TRUE(LoginToRoster(At("localhost"), "alice", "secret", server_.tls_port())) << Lines();
  EXPECT_NE(nullptr, session()->conn->tls);
  Logout();
}

TEST_F(ProsodyTest, EncryptionOnAndTheTlsPortClosedRetriesThePortBelowWithStartTls) {
  StartServer();
  TrustCa(TestCa::Get().ca_file());
  host_->Settings().encryptSessions = true;
  // c2s_port + 1 is free: nothing listens there.
  ASSERT_TRUE(LoginToRoster(At("localhost"), "alice", "secret", server_.c2s_port() + 1)) << Lines();
  EXPECT_NE(nullptr, session()->conn->tls);
  EXPECT_EQ(server_.c2s_port(), session()->conn->user->port);
  Logout();
}

TEST_F(ProsodyTest, EncryptionOnAndNoStartTlsOnThePortBelowSendsNoCredentials) {
  StartServer();
  for (const char* domain : {"notls.test", "legacy.test"}) {
    host_ = std::make_unique<HeadlessHost>();
    host_->Settings().encryptSessions = true;
    host_->Settings().debugMode = true;
    std::remove((home_.path() + "/device/WINDOWS/debuglog.xml").c_str());
    EXPECT_FALSE(LoginToRoster(At(domain), "alice", "secret", server_.c2s_port() + 1)) << domain;
    ASSERT_TRUE(host_->WaitLoginThread(10000));
    EXPECT_TRUE(host_->HasLogLine(
        "<p>Connection to the server ended: the server does not offer encryption.</p>"))
        << domain << "\n"
        << Lines();
    EXPECT_EQ(0, host_->logged_in_count()) << domain;
    EXPECT_EQ(1, host_->session_ended_count()) << domain;
    // The debug log records every text the client sent.
    std::string trace = home_.Read("device/WINDOWS/debuglog.xml");
    EXPECT_NE(std::string::npos, trace.find("SEND:")) << domain;
    EXPECT_EQ(std::string::npos, trace.find("mechanism='PLAIN'")) << domain;
    EXPECT_EQ(std::string::npos, trace.find("jabber:iq:auth")) << domain;
  }
}

TEST_F(ProsodyTest, APasswordLongerThanOneBase64LineLogsIn) {
  std::string password(72, 'x');
  for (size_t i = 0; i < password.size(); ++i)
    password[i] = static_cast<char>('a' + i % 26);
  server_.AddAccount("notls.test", "longpass", password);
  StartServer();
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "longpass", password, server_.c2s_port()))
      << Lines() << server_.Log();
  Logout();
}

TEST_F(ProsodyTest, ASecondLoginWithTheSameResourceEndsTheFirstByAStreamError) {
  StartServer();
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "alice", "secret", server_.c2s_port())) << Lines();
  EXPECT_TRUE(session()->was_online.load());
  HeadlessHost second;
  ASSERT_TRUE(
      second.StartLogin(At("notls.test").c_str(), "alice", "secret", server_.c2s_port(), false));
  ASSERT_TRUE(host_->PumpUntil(
      [&] { return host_->session_ended_count() > 0 && second.roster_results() > 0; }, 15000))
      << Lines() << server_.Log();
  EXPECT_TRUE(host_->WaitLoginThread(5000));
  EXPECT_STREQ("conflict", session()->stream_error.c_str());
  EXPECT_TRUE(session()->was_online.load());
  bool reported = false;
  for (const std::string& line : host_->LogLines())
    reported |= line.rfind(
                    "<p>Connection to the server ended: the server ended the stream "
                    "(conflict",
                    0) == 0;
  EXPECT_TRUE(reported) << Lines();
  EXPECT_STREQ("", second.session()->stream_error.c_str());
  second.Logout();
  EXPECT_TRUE(second.WaitLoginThread(10000));
}

TEST_F(ProsodyTest, LegacyAuthenticationWithAPlainPassword) {
  StartServer();
  host_->Settings().debugMode = true;
  ASSERT_TRUE(LoginToRoster(At("legacy.test"), "alice", "secret", server_.c2s_port()))
      << Lines() << server_.Log();
  EXPECT_EQ(1, host_->logged_in_count());
  std::string trace = home_.Read("device/WINDOWS/debuglog.xml");
  EXPECT_NE(std::string::npos, trace.find("<password>***</password>"));
  EXPECT_EQ(std::string::npos, trace.find("mechanism='PLAIN'"));
  Logout();
}

TEST_F(ProsodyTest, InBandRegistrationCreatesTheAccountAndAConflictIsReported) {
  StartServer();
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "newbie", "fresh", server_.c2s_port(), true))
      << Lines() << server_.Log();
  EXPECT_TRUE(server_.HasAccount("notls.test", "newbie"));
  EXPECT_FALSE(host_->account()->createAccount);
  Logout();

  // The same name again: the server answers 409 and the account-creation texts appear.
  host_->StartLogin(At("notls.test").c_str(), "newbie", "other", server_.c2s_port(), true);
  ASSERT_TRUE(host_->PumpUntil([&] { return !host_->MessageBoxes().empty(); }, 15000)) << Lines();
  host_->WaitLoginThread(10000);
  EXPECT_TRUE(host_->HasLogLine("<p>ERROR CREATING ACCOUNT.</p>")) << Lines();
  EXPECT_TRUE(host_->HasLogLine("<p>THE SPECIFIED ACCOUNT NAME MAY ALREADY BE IN USE.</p>"));
  EXPECT_EQ(
      "Error creating new account. The specified account name may already be in use. "
      "Please choose a different username.",
      host_->MessageBoxes()[0]);
  EXPECT_EQ(LOGIN_ERROR_REFUSED, session()->login_error);
}

TEST_F(ProsodyTest, AWrongPasswordIsAnAuthorizationError) {
  StartServer();
  host_->StartLogin(At("notls.test").c_str(), "alice", "wrong", server_.c2s_port(), false);
  ASSERT_TRUE(host_->PumpUntil([&] { return !host_->MessageBoxes().empty(); }, 15000)) << Lines();
  host_->WaitLoginThread(10000);
  EXPECT_TRUE(host_->HasLogLine("<p>AUTHORIZATION ERROR.</p><p>CHECK USERNAME AND PASSWORD.</p>"));
  EXPECT_EQ(1, host_->logout_count());
}

TEST_F(ProsodyTest, OneKeepaliveAfterAQuietPeriod) {
  StartServer();
  host_->Settings().keepalivePeriod = 2000;
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "alice", "secret", server_.c2s_port()));
  int before = host_->keepalive_count();
  host_->PumpFor(3600);
  EXPECT_EQ(1, host_->keepalive_count() - before);
  EXPECT_TRUE(connection_alive(session()));  // the server took " \t" as whitespace
  Logout();
}

TEST_F(ProsodyTest, DisconnectReturnsWithinAboutOneSecond) {
  StartServer();
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "alice", "secret", server_.c2s_port()));
  host_->PumpFor(1300);  // the loop is in its idle pause now
  DWORD start = GetTickCount();
  disconnect(session());
  EXPECT_LT(GetTickCount() - start, 1500u);
  EXPECT_TRUE(host_->WaitLoginThread(5000));
  EXPECT_EQ(SESSION_OFF, session()->state.load());
}

TEST_F(ProsodyTest, AServerRestartEndsTheSessionAndALoginWorksAgain) {
  StartServer();
  ASSERT_TRUE(LoginToRoster(At("notls.test"), "alice", "secret", server_.c2s_port()));
  server_.Stop();
  ASSERT_TRUE(host_->PumpUntil([&] { return host_->session_ended_count() > 0; }, 10000));
  EXPECT_TRUE(host_->HasLogLine("<p>Sending disconnection</p>"));
  EXPECT_TRUE(host_->WaitLoginThread(5000));
  EXPECT_EQ(SESSION_OFF, session()->state.load());
  StartServer();
  EXPECT_TRUE(LoginToRoster(At("notls.test"), "alice", "secret", server_.c2s_port())) << Lines();
  Logout();
}

}  // namespace
}  // namespace e2e
