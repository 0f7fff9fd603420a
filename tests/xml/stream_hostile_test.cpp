// Hostile and broken server streams: each ends with a clear error code, never a crash, and
// never with unbounded memory or time.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/xml/stream_harness.h"

namespace {

constexpr size_t kReceiveChunk = 4047;  // what one receive hands the parser

std::string header() {
  return kServerHeader;
}

class StreamRefuses : public ::testing::TestWithParam<size_t> {
 protected:
  // Feeds the header and then `body`; expects the stream to fail with `error`.
  void ExpectError(const std::string& body, int error) {
    StreamRecorder r;
    EXPECT_EQ(r.Feed(header() + body, GetParam()), -1) << body;
    EXPECT_EQ(r.sb.error, error) << body;
    EXPECT_EQ(r.sb.current, nullptr);
    EXPECT_EQ(r.Feed("<presence/>", GetParam()), -1);
    EXPECT_TRUE(r.stanzas.empty()) << body;
  }
};

TEST_P(StreamRefuses, DoctypeCommentInstructionAndEntities) {
  StreamRecorder r;
  EXPECT_EQ(
      r.Feed("<?xml version='1.0'?><!DOCTYPE stream [<!ENTITY a 'x'>]><stream:stream>", GetParam()),
      -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_FORBIDDEN);
  EXPECT_TRUE(r.states.empty());

  ExpectError("<!-- hi --><presence/>", STREAM_ERR_FORBIDDEN);
  ExpectError("<message><!-- hi --></message>", STREAM_ERR_FORBIDDEN);
  ExpectError("<?php echo 1 ?><presence/>", STREAM_ERR_FORBIDDEN);
  ExpectError("<message><body>&lol9;</body></message>", STREAM_ERR_XML);
}

TEST_P(StreamRefuses, BillionLaughs) {
  std::string laughs = "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>";
  for (int i = 1; i < 10; ++i) {
    laughs += "<!ENTITY lol" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j)
      laughs += "&lol" + (i > 1 ? std::to_string(i - 1) : std::string()) + ";";
    laughs += "'>";
  }
  laughs += "]><stream:stream><message><body>&lol9;</body></message>";
  StreamRecorder r;
  EXPECT_EQ(r.Feed(laughs, GetParam()), -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_FORBIDDEN);
  EXPECT_TRUE(r.stanzas.empty());
}

TEST_P(StreamRefuses, MalformedBytes) {
  ExpectError("<message><body>\xc3\x28</body></message>", STREAM_ERR_XML);      // invalid UTF-8
  ExpectError("<message><body>\xc0\xaf</body></message>", STREAM_ERR_XML);      // overlong '/'
  ExpectError("<message><body>\xed\xa0\x80</body></message>", STREAM_ERR_XML);  // surrogate
  const char with_nul[] = "<message><body>a\0b</body></message>";
  ExpectError(std::string(with_nul, sizeof with_nul - 1), STREAM_ERR_XML);
  ExpectError("<message><body>\x01</body></message>", STREAM_ERR_XML);
  ExpectError("<message><body>&#0;</body></message>", STREAM_ERR_XML);
  ExpectError("<message a='1' a='2'/>", STREAM_ERR_XML);
  ExpectError("<message></presence>", STREAM_ERR_XML);
  ExpectError("</stream:stream><presence/>", STREAM_ERR_XML);
}

TEST_P(StreamRefuses, NestingBeyondTheDepthLimit) {
  std::string deep;
  for (int i = 0; i < STREAM_MAX_DEPTH; ++i)
    deep += "<a>";
  ExpectError(deep, STREAM_ERR_TOO_DEEP);

  // One level less (the stream root takes one) is accepted.
  StreamRecorder r;
  std::string fits;
  for (int i = 0; i < STREAM_MAX_DEPTH - 1; ++i)
    fits += "<a>";
  for (int i = 0; i < STREAM_MAX_DEPTH - 1; ++i)
    fits += "</a>";
  EXPECT_EQ(r.Feed(header() + fits, GetParam()), 0);
  EXPECT_EQ(r.stanzas.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(ChunkSizes, StreamRefuses, ::testing::ValuesIn(kChunkSizes),
                         [](const auto& info) {
                           return info.param ? "chunk" + std::to_string(info.param) : "whole";
                         });

TEST(StreamLimits, HundredThousandDeepNestingStopsEarly) {
  StreamRecorder r;
  std::string deep;
  for (int i = 0; i < 100000; ++i)
    deep += "<a>";
  EXPECT_EQ(r.Feed(header() + deep, kReceiveChunk), -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_TOO_DEEP);
}

TEST(StreamLimits, HugeAttributeValueIsRefusedAtTheCap) {
  StreamRecorder r;
  ASSERT_EQ(r.Feed(header(), 0), 0);
  std::string attribute = "<message to='" + std::string(50 * 1024 * 1024, 'a');
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(r.Feed(attribute, kReceiveChunk), -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_TOO_LARGE);
  EXPECT_LE(r.sb.fed, STREAM_MAX_STANZA_BYTES + header().size());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(StreamLimits, NeverEndingTextIsRefusedAtTheCap) {
  StreamRecorder r;
  ASSERT_EQ(r.Feed(header() + "<message><body>", 0), 0);
  std::string chunk(kReceiveChunk, 'x');
  int result = 0;
  size_t fed = 0;
  while (result == 0 && fed < 4 * STREAM_MAX_STANZA_BYTES) {
    result = r.Feed(chunk, 0);
    fed += chunk.size();
  }
  EXPECT_EQ(result, -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_TOO_LARGE);
  EXPECT_LE(fed, STREAM_MAX_STANZA_BYTES + kReceiveChunk);
}

TEST(StreamLimits, StanzaOfExactlyTheCapPassesAndOneByteMoreFails) {
  for (size_t extra : {0, 1}) {
    StreamRecorder r;
    ASSERT_EQ(r.Feed(header(), 0), 0);
    std::string open = "<message><body>";
    std::string close = "</body></message>";
    r.sb.max_stanza_bytes = 4096;
    std::string stanza = open + std::string(4096 - open.size() - close.size() + extra, 'x') + close;
    EXPECT_EQ(r.Feed(stanza + "<presence/>", 1000), extra ? -1 : 0);
    EXPECT_EQ(r.stanzas.size(), extra ? 0u : 2u);
  }
}

TEST(StreamLimits, HugeTokenTrickledInTinyPiecesIsStoppedEarly) {
  StreamRecorder r;
  ASSERT_EQ(r.Feed(header(), 0), 0);
  std::string attribute = "<message to='" + std::string(STREAM_MAX_STANZA_BYTES / 2, 'a');
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(r.Feed(attribute, 16), -1);
  EXPECT_EQ(r.sb.error, STREAM_ERR_TOO_LARGE);
  EXPECT_LT(r.sb.fed, 64u * 1024);  // long before the byte cap
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(StreamLimits, LongSessionsOfSmallChunksNeverTripTheRescanLimit) {
  StreamRecorder r;
  ASSERT_EQ(r.Feed(header(), 0), 0);
  r.sb.max_stanza_bytes = 1024;  // rescan limit 16 KiB
  std::string stanza =
      "<message from='someone@example.org/r' type='chat' id='abcdef'>"
      "<body>hello</body></message>";
  for (int i = 0; i < 2000; ++i)
    ASSERT_EQ(r.Feed(stanza, 5), 0) << i;  // nearly every piece ends inside a tag
  EXPECT_EQ(r.stanzas.size(), 2000u);
}

TEST(StreamLimits, TruncatedAndEmptyStreamsFailAtTheEnd) {
  StreamRecorder truncated;
  ASSERT_EQ(truncated.Feed(header() + "<message><body>cut", 0), 0);
  EXPECT_EQ(stream_builder_finish(&truncated.sb), -1);
  EXPECT_EQ(truncated.sb.error, STREAM_ERR_XML);
  EXPECT_EQ(truncated.sb.current, nullptr);

  StreamRecorder open_only;
  ASSERT_EQ(open_only.Feed(header(), 0), 0);
  EXPECT_EQ(stream_builder_finish(&open_only.sb), -1);

  StreamRecorder closed;
  ASSERT_EQ(closed.Feed(header() + "</stream:stream>", 0), 0);
  EXPECT_EQ(stream_builder_finish(&closed.sb), 0);
}

}  // namespace
