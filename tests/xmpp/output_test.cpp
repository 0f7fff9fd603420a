// The output path and the parse entry: deferral, compression, stream errors, chunking.
#include "wire_fixture.h"
#include "xmpp/operations.h"

namespace {

using OutputTest = WireTest;

TEST_F(OutputTest, DeferrableStanzasWaitForTheFlushAndGoOutOnce) {
  OpenStream();
  Sent();
  conn()->state = JCONN_STATE_OFF;  // as after the connection dropped
  send_chat(session_, "bob@example.org", "first");
  send_chat(session_, "bob@example.org", "second");
  join_room(session_, "room@muc.example.org", "alice", "");  // not deferrable: lost
  EXPECT_EQ(2, jab_deferred_count(conn()));
  conn()->state = JCONN_STATE_STREAM;
  jab_flush_deferred(conn());
  std::string sent = Sent();
  EXPECT_EQ(1, Count(sent, "first"));
  EXPECT_EQ(1, Count(sent, "second"));
  EXPECT_LT(sent.find("first"), sent.find("second"));
  EXPECT_EQ(0, Count(sent, "room@"));
  EXPECT_EQ(0, jab_deferred_count(conn()));
  jab_flush_deferred(conn());
  EXPECT_EQ("", Sent());
}

// A message typed while the login is still negotiating (here: the stream is open, no roster
// yet) must not be written: the server would bounce it. It goes out once, after the own
// presence, when the roster arrives; later ones go out at once.
TEST_F(OutputTest, DeferrableStanzasWaitUntilTheRosterHasArrived) {
  OpenStream();
  Sent();
  send_chat(session_, "bob@example.org", "typed while connecting");
  EXPECT_EQ("", Sent());
  EXPECT_EQ(1, jab_deferred_count(conn()));
  Server("<iq type='result' id='roster1'><query xmlns='jabber:iq:roster'/></iq>");
  std::string sent = Sent();
  EXPECT_EQ(1, Count(sent, "typed while connecting"));
  EXPECT_LT(sent.find("<presence"), sent.find("typed while connecting"));
  EXPECT_EQ(0, jab_deferred_count(conn()));
  send_chat(session_, "bob@example.org", "typed online");
  EXPECT_EQ(1, Count(Sent(), "typed online"));
}

TEST_F(OutputTest, DeferredStanzaIsSentCompressedExactlyOnce) {
  OpenStream();
  Sent();
  Server("<compressed xmlns='http://jabber.org/protocol/compress'/>");
  std::string restart = Inflate(Raw());
  EXPECT_NE(std::string::npos, restart.find("<stream:stream"));
  conn()->state = JCONN_STATE_OFF;
  send_chat(session_, "bob@example.org", "while away");
  conn()->state = JCONN_STATE_STREAM;
  jab_flush_deferred(conn());
  std::string raw = Raw();
  EXPECT_EQ(std::string::npos, raw.find("while away"));  // never in clear
  EXPECT_EQ(1, Count(Inflate(raw), "while away"));
}

TEST_F(OutputTest, ForbiddenXmlEndsTheConnectionWithALogLine) {
  OpenStream();
  Server("<!DOCTYPE lol [<!ENTITY a 'aaaa'>]><message/>");
  EXPECT_TRUE(PeerSeesEnd());
  std::vector<std::string> lines = host_->LogLines();
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(0u, lines[0].find("<p>Connection to the server ended: "));
  Server("<message><body>after the end</body></message>");
  EXPECT_EQ(1u, host_->LogLines().size());  // reported once
  EXPECT_EQ(0, host_->dispatched_count());
}

TEST_F(OutputTest, MalformedXmlEndsTheConnection) {
  OpenStream();
  Server("<message><body>x</bod></message>");
  EXPECT_TRUE(PeerSeesEnd());
  EXPECT_EQ(1u, host_->LogLines().size());
}

TEST_F(OutputTest, AnOversizedStanzaEndsTheConnection) {
  OpenStream();
  std::string chunk(64 * 1024, 'a');
  Server("<message><body>");
  for (int i = 0; i < 20 && !conn()->stream_failed; ++i)
    Server(chunk);
  EXPECT_TRUE(conn()->stream_failed);
  EXPECT_TRUE(PeerSeesEnd());
}

TEST_F(OutputTest, ANulByteEndsTheConnectionInsteadOfCuttingTheText) {
  OpenStream();
  ASSERT_EQ(6, write(peer_, "<a/>\0<", 6));
  char* chunk = jab_poll(conn(), 1);
  ASSERT_NE(nullptr, chunk);
  EXPECT_STREQ("", chunk);
  free(chunk);
  EXPECT_TRUE(PeerSeesEnd());
  ASSERT_EQ(1u, host_->LogLines().size());
  EXPECT_EQ("<p>Connection to the server ended: the stream is not well-formed XML.</p>",
            host_->LogLines()[0]);
}

class ChunkedTest : public WireTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(ChunkedTest, StanzasSplitAnywhereAreDispatchedOnce) {
  OpenStream();
  std::string stream;
  for (int i = 0; i < 5; ++i)
    stream += "<message type='chat' from='bob@example.org/x'><body>m" + std::to_string(i) +
              " &amp; more</body></message>";
  size_t size = GetParam();
  for (size_t at = 0; at < stream.size(); at += size)
    Server(stream.substr(at, size));
  std::vector<std::string> packets = host_->Dispatched();
  ASSERT_EQ(5u, packets.size());
  for (int i = 0; i < 5; ++i)
    EXPECT_NE(std::string::npos, packets[i].find(">m" + std::to_string(i) + " &amp; more<"));
}

INSTANTIATE_TEST_SUITE_P(ChunkSizes, ChunkedTest, ::testing::Values(1, 2, 7, 64, 4047));

TEST_F(OutputTest, DebugLogMasksCredentials) {
  host_->Settings().debugMode = true;
  OpenStream();
  Server(
      "<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
      "<mechanism>PLAIN</mechanism></mechanisms></stream:features>");
  ASSERT_NE(std::string::npos, Sent().find("AGFsaWNlAHNlY3JldA=="));
  std::string log = home_.Read("device/WINDOWS/debuglog.xml");
  EXPECT_NE(std::string::npos, log.find("NOT DEFERRED MESSAGE"));
  EXPECT_NE(std::string::npos, log.find("mechanism='PLAIN'>***</auth>"));
  EXPECT_EQ(std::string::npos, log.find("AGFsaWNlAHNlY3JldA=="));
  EXPECT_NE(std::string::npos, log.find("PARSING XML COMPLETE"));
}

}  // namespace
