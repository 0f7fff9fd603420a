// The login negotiation against a scripted server on a socketpair: what the client answers to
// each step.
#include "xmpp/negotiation.h"

#include "wire_fixture.h"
#include "xml/base64.h"
#include "xml/namespaces.h"
#include "xml/sha1.h"
#include "xmpp/session_messages.h"

namespace {

const char kFeaturesPlain[] =
    "<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
    "<mechanism>SCRAM-SHA-1</mechanism><mechanism>PLAIN</mechanism></mechanisms>"
    "</stream:features>";
const char kFeaturesTlsAndPlain[] =
    "<stream:features><starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>"
    "<mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'><mechanism>PLAIN</mechanism>"
    "</mechanisms></stream:features>";
const char kFeaturesCompressBind[] =
    "<stream:features><compression xmlns='http://jabber.org/features/compress'>"
    "<method>zlib</method></compression><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/>"
    "</stream:features>";

using NegotiationTest = WireTest;

TEST_F(NegotiationTest, StreamHeaderIsAnOpeningTagWithAttributesInOrder) {
  jab_open_stream(conn());
  EXPECT_EQ(
      "<stream:stream xmlns:stream='http://etherx.jabber.org/streams' version='1.0' "
      "xmlns='jabber:client' to='example.org'>",
      Sent());
}

TEST_F(NegotiationTest, SaslPathFromFeaturesToRoster) {
  OpenStream();
  Sent();
  Server(kFeaturesPlain);
  EXPECT_EQ(
      "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'>"
      "AGFsaWNlAHNlY3JldA==</auth>",
      Sent());
  Server("<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>");
  EXPECT_EQ(SESSION_ONLINE, session_->state.load());
  EXPECT_NE(std::string::npos, Sent().find("<stream:stream "));  // restarted
  Server(
      "<stream:stream xmlns:stream='http://etherx.jabber.org/streams' version='1.0' "
      "xmlns='jabber:client' id='s2'>");
  Server(kFeaturesCompressBind);
  std::string bind = Sent();
  EXPECT_NE(std::string::npos, bind.find("<bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'>"
                                         "<resource>orvik</resource></bind>"));
  EXPECT_EQ(std::string::npos, bind.find("compress"));  // the switch is off by default
  std::string bind_id = session_->pending.back().id.c_str();
  Server("<iq type='result' id='" + bind_id + "'/>");
  std::string session_request = Sent();
  EXPECT_NE(std::string::npos, session_request.find("urn:ietf:params:xml:ns:xmpp-session"));
  std::string session_id = session_->pending.back().id.c_str();
  Server("<iq type='result' from='example.org' id='" + session_id + "'/>");
  EXPECT_NE(std::string::npos, Sent().find("<query xmlns='jabber:iq:roster'/>"));
  host_->PumpFor(20);
  EXPECT_EQ(1, host_->logged_in_count());
}

TEST_F(NegotiationTest, CompressionOnlyAfterAuthenticationAndOnlyWithTheSwitch) {
  host_->compression = true;
  OpenStream();
  Sent();
  Server(std::string("<stream:features><compression xmlns='http://jabber.org/features/compress'>"
                     "<method>zlib</method></compression>") +
         "<mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'><mechanism>PLAIN</mechanism>"
         "</mechanisms></stream:features>");
  std::string first = Sent();
  EXPECT_EQ(std::string::npos, first.find("<compress"));
  EXPECT_NE(std::string::npos, first.find("<auth "));
  Server("<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>");
  Sent();
  Server("<stream:stream xmlns:stream='http://etherx.jabber.org/streams' version='1.0'>");
  Server(kFeaturesCompressBind);
  EXPECT_EQ(
      "<compress xmlns='http://jabber.org/protocol/compress'><method>zlib</method>"
      "</compress>",
      Sent());
  Server("<compressed xmlns='http://jabber.org/protocol/compress'/>");
  EXPECT_EQ(1, conn()->compressed.load());
  // From now on everything the client writes is deflated.
  EXPECT_NE(std::string::npos, Inflate(Raw()).find("<stream:stream "));
}

TEST_F(NegotiationTest, CompressionFailureGoesOnWithBind) {
  host_->compression = true;
  session_->state = SESSION_ONLINE;
  OpenStream();
  Server(kFeaturesCompressBind);
  Sent();
  Server("<failure xmlns='http://jabber.org/protocol/compress'><setup-failed/></failure>");
  EXPECT_NE(std::string::npos, Sent().find("<bind "));
  EXPECT_TRUE(host_->MessageBoxes().empty());
}

TEST_F(NegotiationTest, StartTlsIsAskedBeforeAnyAuthentication) {
  OpenStream();
  Sent();
  Server(kFeaturesTlsAndPlain);
  EXPECT_EQ("<starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>", Sent());
}

TEST_F(NegotiationTest, ProceedWithoutRequestIsIgnored) {
  OpenStream();
  Sent();
  Server("<proceed xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>");
  EXPECT_EQ("", Sent());
  EXPECT_EQ(nullptr, conn()->tls);
}

TEST_F(NegotiationTest, TlsFailureEndsTheConnectionWithALogLine) {
  OpenStream();
  Server(kFeaturesTlsAndPlain);
  Sent();
  Server("<failure xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>");
  EXPECT_TRUE(
      host_->HasLogLine("<p>Connection to the server ended: the server could not start TLS.</p>"));
  EXPECT_TRUE(PeerSeesEnd());
  EXPECT_TRUE(host_->MessageBoxes().empty());  // not an authentication failure
}

TEST_F(NegotiationTest, RegistrationWaitsForTheFeaturesOnAClearStream) {
  session_->create_account = 1;
  OpenStream();
  Sent();
  EXPECT_EQ(0u, PendingWithTag("jabber:iq:register"));
  Server(kFeaturesTlsAndPlain);
  EXPECT_EQ("<starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>", Sent());
  EXPECT_EQ(0u, PendingWithTag("jabber:iq:register"));
}

TEST_F(NegotiationTest, RegistrationThenPlainWhenNoTlsIsOffered) {
  session_->create_account = 1;
  OpenStream();
  Sent();
  Server(kFeaturesPlain);
  std::string sent = Sent();
  size_t registration = sent.find(
      "<query xmlns='jabber:iq:register'><username>alice</username>"
      "<resource>orvik</resource><password>secret</password>");
  size_t plain = sent.find("<auth ");
  ASSERT_NE(std::string::npos, registration);
  ASSERT_NE(std::string::npos, plain);
  EXPECT_LT(registration, plain);
  EXPECT_EQ(JCONN_STATE_AUTH, conn()->state.load());
}

TEST_F(NegotiationTest, StreamWithoutVersionGoesTheLegacyWay) {
  OpenStream(false, "3e2c1a");
  std::string query = Sent();
  EXPECT_NE(std::string::npos,
            query.find("<query xmlns='jabber:iq:auth'><username>alice</username></query>"));
  std::string id = session_->pending.back().id.c_str();
  // Digest offered and "USE HASH AUTH" on (the default): SHA-1 of stream id and password.
  Server("<iq type='result' id='" + id +
         "'><query xmlns='jabber:iq:auth'><username/><password/><digest/><resource/></query>"
         "</iq>");
  std::string set = Sent();
  EXPECT_NE(std::string::npos, set.find("<username>alice</username><resource>orvik</resource>"
                                        "<digest>"));
  char expected[41];
  sha1_hex_text("3e2c1asecret", expected);
  EXPECT_NE(std::string::npos, set.find(expected));
  EXPECT_EQ(std::string::npos, set.find("secret"));
  EXPECT_EQ(1u, PendingWithTag("jabber:iq:auth"));  // the query's record is gone
  std::string set_id = session_->pending.back().id.c_str();
  Server("<iq type='result' id='" + set_id + "'/>");
  EXPECT_EQ(SESSION_ONLINE, session_->state.load());
  EXPECT_NE(std::string::npos, Sent().find("jabber:iq:roster"));
}

TEST_F(NegotiationTest, PlainPasswordWhenDigestIsNotOfferedOrSwitchedOff) {
  Attach("alice@example.org/orvik", "p%ss");
  host_->Settings().useHashAuth = false;
  OpenStream(false);
  Sent();
  std::string id = session_->pending.back().id.c_str();
  Server("<iq type='result' id='" + id +
         "'><query xmlns='jabber:iq:auth'><username/><password/><digest/></query></iq>");
  EXPECT_NE(std::string::npos, Sent().find("<password>p%ss</password>"));
}

TEST_F(NegotiationTest, OnlyAnEmptyLegacyResultCompletesTheLogin) {
  OpenStream(false);
  Sent();
  std::string id = session_->pending.back().id.c_str();
  Server("<iq type='result' id='" + id +
         "'><query xmlns='jabber:iq:auth'><username/><password/></query></iq>");
  Sent();
  std::string set_id = session_->pending.back().id.c_str();
  Server("<iq type='result' id='" + set_id + "'><query xmlns='jabber:iq:version'/></iq>");
  EXPECT_NE(SESSION_ONLINE, session_->state.load());
  EXPECT_TRUE(host_->HasLogLine("<p>AUTHORIZATION ERROR.</p><p>CHECK USERNAME AND PASSWORD.</p>"));
}

TEST_F(NegotiationTest, AuthenticationFromAForeignAddressIsIgnored) {
  OpenStream(false);
  Sent();
  std::string id = session_->pending.back().id.c_str();
  Server("<iq type='result' from='mallory@evil.example' id='" + id +
         "'><query xmlns='jabber:iq:auth'><password/></query></iq>");
  EXPECT_EQ("", Sent());
}

TEST_F(NegotiationTest, SaslFailureShowsTheAuthenticationTextsAndLogsOut) {
  host_->Settings().loginOnStartup = true;
  OpenStream();
  Server(kFeaturesPlain);
  Server("<failure xmlns='urn:ietf:params:xml:ns:xmpp-sasl'><not-authorized/></failure>");
  std::vector<std::string> lines = host_->LogLines();
  ASSERT_EQ(2u, lines.size());  // the log was cleared first
  EXPECT_EQ("<p>AUTHORIZATION ERROR.</p><p>CHECK USERNAME AND PASSWORD.</p>", lines[0]);
  EXPECT_EQ(
      "<p>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" "
      "menu.</p>",
      lines[1]);
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ(
      "Error logging onto your account. Please make sure your password and username are "
      "correct.",
      host_->MessageBoxes()[0]);
  EXPECT_EQ(LOGIN_ERROR_REFUSED, session_->login_error);
  EXPECT_FALSE(host_->Settings().loginOnStartup);
  EXPECT_EQ(1, host_->logout_count());
}

TEST_F(NegotiationTest, RegistrationConflictShowsTheAccountCreationTexts) {
  session_->create_account = 1;
  OpenStream(false);
  std::string id = session_->pending.back().id.c_str();
  Server("<iq type='error' id='" + id +
         "'><error code='409' type='cancel'>"
         "<conflict xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'/></error></iq>");
  std::vector<std::string> lines = host_->LogLines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("<p>ERROR CREATING ACCOUNT.</p>", lines[0]);
  EXPECT_EQ("<p>THE SPECIFIED ACCOUNT NAME MAY ALREADY BE IN USE.</p>", lines[1]);
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ(
      "Error creating new account. The specified account name may already be in use. "
      "Please choose a different username.",
      host_->MessageBoxes()[0]);
  EXPECT_EQ(1, session_->create_account);
  EXPECT_TRUE(host_->account()->createAccount);
}

TEST_F(NegotiationTest, LegacyError503MeansTheAccountWasCreated) {
  OpenStream(false);
  std::string id = session_->pending.back().id.c_str();
  Server("<iq type='error' id='" + id + "'><error code='503'/></iq>");
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ("Account created. Please reconnect to server to log in.", host_->MessageBoxes()[0]);
  EXPECT_EQ(1, host_->logout_count());
  EXPECT_TRUE(host_->LogLines().empty());
}

TEST_F(NegotiationTest, RestartedStreamAfterLoginClearsTheCreateAccountFlags) {
  session_->create_account = 1;
  host_->account()->createAccount = true;
  host_->Settings().loginOnStartup = true;
  host_->SetLoginRequested(true);
  session_->state = SESSION_ONLINE;
  OpenStream();
  std::string sent = Sent();
  EXPECT_EQ(1, Count(sent, "<"));  // nothing but the header
  EXPECT_EQ(0, session_->create_account);
  EXPECT_FALSE(host_->account()->createAccount);
  EXPECT_FALSE(host_->LoginRequested());
}

TEST_F(NegotiationTest, AStreamErrorEndsTheConnectionAndIsKeptWithWhetherTheLoginWorked) {
  OpenStream();
  Sent();
  Server(kFeaturesPlain);
  Sent();
  EXPECT_FALSE(session_->was_online.load());
  Server("<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>");
  EXPECT_TRUE(session_->was_online.load());
  EXPECT_STREQ("", session_->stream_error.c_str());
  Server(
      "<stream:stream xmlns:stream='http://etherx.jabber.org/streams' version='1.0' "
      "xmlns='jabber:client' id='s2'>"
      "<stream:error>\n  <conflict xmlns='urn:ietf:params:xml:ns:xmpp-streams'/>\n"
      "  <text xmlns='urn:ietf:params:xml:ns:xmpp-streams'>Replaced by &lt;new&gt; "
      "connection</text>"
      "</stream:error>");
  EXPECT_STREQ("conflict", session_->stream_error.c_str());
  EXPECT_TRUE(host_->HasLogLine(
      "<p>Connection to the server ended: the server ended the stream (conflict: Replaced by "
      "&lt;new&gt; connection).</p>"));
  EXPECT_EQ(0, host_->dispatched_count());
  EXPECT_TRUE(PeerSeesEnd());
}

TEST(SaslPlain, CarriesEveryCharacterOnOneUnbrokenLine) {
  char* short_message = sasl_plain_message("alice", "100%");
  EXPECT_STREQ("AGFsaWNlADEwMCU=", short_message);
  free(short_message);
  // 2 + 30 + 70 bytes: 136 characters, where the MIME form would break after the 76th.
  std::string user(30, 'u');
  std::string password(70, 'p');
  char* message = sasl_plain_message(user.c_str(), password.c_str());
  std::string text = message;
  free(message);
  EXPECT_EQ(136u, text.size());
  EXPECT_EQ(std::string::npos, text.find_first_of("\r\n"));
  std::string plain = std::string(1, '\0') + user + '\0' + password;
  char* mime = base64_encode(nullptr, plain.data(), plain.size());
  std::string joined = mime;
  free(mime);
  joined.erase(76, 2);  // the same characters without the MIME line break
  EXPECT_EQ(joined, text);
}

}  // namespace
