#include "xml/stream_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/xml/stream_harness.h"

namespace {

class StreamBuilder : public ::testing::TestWithParam<size_t> {
 protected:
  size_t chunk() const { return GetParam(); }
  StreamRecorder r;
};

TEST_P(StreamBuilder, HeaderStanzasAndClose) {
  std::string stream = std::string(kServerHeader) +
                       "<stream:features><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/>"
                       "</stream:features>"
                       "<message from='a@b/c' type='chat'><body>hello &amp; &lt;bye&gt;</body>"
                       "</message>\n  <presence from='d@e'/><iq type='result' id='1'/>"
                       "</stream:stream>";
  ASSERT_EQ(r.Feed(stream, chunk()), 0);
  EXPECT_EQ(r.states, (std::vector<int>{STREAM_STATE_OPEN, STREAM_STATE_CLOSED}));
  EXPECT_STREQ(r.sb.stream_id, "c2s_abc");
  EXPECT_EQ(r.sb.stream_v1, 1);
  ASSERT_EQ(r.stanzas.size(), 4u);
  EXPECT_EQ(r.stanzas[0],
            "<stream:features><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/></stream:features>");
  EXPECT_EQ(r.stanzas[1],
            "<message from='a@b/c' type='chat'><body>hello &amp; &lt;bye&gt;</body></message>");
  EXPECT_EQ(r.stanzas[2], "<presence from='d@e'/>");
  EXPECT_EQ(r.stanzas[3], "<iq type='result' id='1'/>");
  EXPECT_EQ(r.subtypes,
            (std::vector<int>{SUBTYPE_FEATURES, SUBTYPE_CHAT, SUBTYPE_AVAILABLE, SUBTYPE_RESULT}));
  EXPECT_EQ(r.sb.current, nullptr);
  EXPECT_EQ(stream_builder_finish(&r.sb), 0);
}

TEST_P(StreamBuilder, AdjacentTextRunsBecomeOneNodeAndAnElementSplitsThem) {
  std::string stream = std::string(kServerHeader) +
                       "<message>one &amp; <![CDATA[<two>]]>\nthree</message>"
                       "<message>before<br/>after</message>";
  ASSERT_EQ(r.Feed(stream, chunk()), 0);
  ASSERT_EQ(r.stanzas.size(), 2u);
  EXPECT_EQ(r.text_nodes, (std::vector<int>{1, 2}));
  EXPECT_EQ(r.stanzas[0], "<message>one &amp; &lt;two&gt;\nthree</message>");
  EXPECT_EQ(r.stanzas[1], "<message>before<br/>after</message>");
}

TEST_P(StreamBuilder, VersionIsCaseInsensitiveAndLaterIdSpellingsWin) {
  ASSERT_EQ(r.Feed("<stream:stream id='first' VERSION='1.0' ID='second'>", chunk()), 0);
  EXPECT_EQ(r.sb.stream_v1, 1);
  EXPECT_STREQ(r.sb.stream_id, "second");
  StreamRecorder old_server;
  ASSERT_EQ(old_server.Feed("<stream:stream xmlns='jabber:client' version='0.9'>", chunk()), 0);
  EXPECT_EQ(old_server.sb.stream_v1, 0);
  EXPECT_STREQ(old_server.sb.stream_id, "");
}

TEST_P(StreamBuilder, OverlongStreamIdIsCut) {
  std::string id(400, 'i');
  ASSERT_EQ(r.Feed("<stream:stream id='" + id + "'>", chunk()), 0);
  EXPECT_EQ(std::string(r.sb.stream_id), id.substr(0, 254));
}

TEST_P(StreamBuilder, NestedStreamElementNeitherReopensNorClosesTheStream) {
  std::string stream = std::string(kServerHeader) +
                       "<message><stream:stream id='evil' version='0.9'/></message>"
                       "<presence/>";
  ASSERT_EQ(r.Feed(stream, chunk()), 0);
  EXPECT_EQ(r.states, (std::vector<int>{STREAM_STATE_OPEN}));
  EXPECT_STREQ(r.sb.stream_id, "c2s_abc");
  EXPECT_EQ(r.sb.stream_v1, 1);
  ASSERT_EQ(r.stanzas.size(), 2u);
  EXPECT_EQ(r.stanzas[0], "<message><stream:stream id='evil' version='0.9'/></message>");
}

TEST_P(StreamBuilder, WithoutPacketCallbackStanzasAreReleasedUnread) {
  stream_builder sb;
  stream_builder_init(&sb, nullptr, nullptr, nullptr);
  std::string stream = std::string(kServerHeader) + "<message><body>x</body></message>";
  for (size_t at = 0; at < stream.size(); ++at)
    ASSERT_EQ(stream_builder_feed(&sb, stream.data() + at, 1), 0);
  EXPECT_EQ(sb.current, nullptr);
  stream_builder_free(&sb);
}

// A restart from inside the packet callback hands the rest of the bytes to a new parser.
void RestartOnSuccess(StreamRecorder* r, packet* p) {
  if (packet_subtype(p) == SUBTYPE_SUCCESS)
    stream_builder_restart(&r->sb);
}

TEST_P(StreamBuilder, RestartInsideCallbackParsesTheNewStream) {
  r.hook = RestartOnSuccess;
  std::string stream = std::string(kServerHeader) +
                       "<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>"
                       "<?xml version='1.0'?><stream:stream xmlns='jabber:client' id='second' "
                       "version='1.0'>"
                       "<stream:features/><message><body>after</body></message>";
  ASSERT_EQ(r.Feed(stream, chunk()), 0);
  EXPECT_EQ(r.states, (std::vector<int>{STREAM_STATE_OPEN, STREAM_STATE_OPEN}));
  EXPECT_STREQ(r.sb.stream_id, "second");
  ASSERT_EQ(r.stanzas.size(), 3u);
  EXPECT_EQ(r.stanzas[2], "<message><body>after</body></message>");
}

TEST_P(StreamBuilder, KeepalivesBetweenStanzasDoNotCountTowardsTheCap) {
  ASSERT_EQ(r.Feed(kServerHeader, 0), 0);
  r.sb.max_stanza_bytes = 64;
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(r.Feed(" \t<presence from='user@example.org/r'/>", chunk()), 0) << i;
  }
  EXPECT_EQ(r.stanzas.size(), 50u);
}

INSTANTIATE_TEST_SUITE_P(ChunkSizes, StreamBuilder, ::testing::ValuesIn(kChunkSizes),
                         [](const auto& info) {
                           return info.param ? "chunk" + std::to_string(info.param) : "whole";
                         });

TEST(StreamBuilderLifecycle, OpenAgainClearsTheErrorAndThePartialStanza) {
  StreamRecorder r;
  ASSERT_EQ(r.Feed(std::string(kServerHeader) + "<message><body>part", 0), 0);
  EXPECT_NE(r.sb.current, nullptr);
  EXPECT_EQ(r.Feed("</wrong>", 0), -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_XML);
  EXPECT_EQ(r.sb.expat_error, XML_ERROR_TAG_MISMATCH);
  EXPECT_EQ(r.sb.current, nullptr);
  EXPECT_EQ(r.Feed("<presence/>", 0), -1);  // stays failed

  ASSERT_EQ(stream_builder_open(&r.sb), 0);
  EXPECT_EQ(r.sb.error, STREAM_ERR_NONE);
  EXPECT_STREQ(r.sb.stream_id, "");
  ASSERT_EQ(r.Feed(std::string(kServerHeader) + "<presence/>", 0), 0);
  EXPECT_EQ(r.stanzas.size(), 1u);
}

TEST(StreamBuilderLifecycle, RestartOutsideAFeedStartsAFreshParser) {
  StreamRecorder r;
  ASSERT_EQ(r.Feed(std::string(kServerHeader) + "<proceed/>", 0), 0);
  ASSERT_EQ(stream_builder_restart(&r.sb), 0);
  ASSERT_EQ(r.Feed("<stream:stream id='two'><presence/>", 0), 0);
  EXPECT_STREQ(r.sb.stream_id, "two");
  EXPECT_EQ(r.stanzas.size(), 2u);
}

TEST(StreamBuilderLifecycle, ErrorTextsNameEachError) {
  for (int e = STREAM_ERR_NONE; e <= STREAM_ERR_NO_PARSER; ++e)
    EXPECT_STRNE(stream_error_text(e), "unknown stream error");
  EXPECT_STREQ(stream_error_text(99), "unknown stream error");
}

}  // namespace
