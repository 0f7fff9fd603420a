// SHA-1, base64 and request ids.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "xml/base64.h"
#include "xml/iq_id.h"
#include "xml/sha1.h"

namespace {

std::string sha1(const std::string& text) {
  char out[SHA1_HEX_SIZE];
  EXPECT_EQ(sha1_hex(text.data(), text.size(), out), 0);
  return out;
}

std::string b64(const std::string& bytes) {
  char* out = base64_encode(nullptr, bytes.data(), bytes.size());
  std::string copy = out;
  free(out);
  return copy;
}

TEST(Sha1, LowerCaseHex) {
  EXPECT_EQ(sha1(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(sha1("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(sha1(std::string("a\0b", 3)), "4a3dec2d1f8245280855c42db0ee4239f917fdb8");
  char out[SHA1_HEX_SIZE];
  sha1_hex_text(nullptr, out);
  EXPECT_STREQ(out, "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(Base64, PaddingAndLineBreaks) {
  EXPECT_EQ(b64(""), "");
  EXPECT_EQ(b64("f"), "Zg==");
  EXPECT_EQ(b64("fo"), "Zm8=");
  EXPECT_EQ(b64("foo"), "Zm9v");
  EXPECT_EQ(b64(std::string("\0amy\0p%w", 8)), "AGFteQBwJXc=");
  EXPECT_EQ(b64("\xff\xfe\xfd"), "//79");
  // 57 bytes make exactly 76 characters, and the CR LF follows even with nothing after it.
  std::string line = b64(std::string(57, 'a'));
  EXPECT_EQ(line.size(), 78u);
  EXPECT_EQ(line.substr(76), "\r\n");
  std::string longer = b64(std::string(58, 'a'));
  EXPECT_EQ(longer.substr(76, 2), "\r\n");
  EXPECT_EQ(longer.substr(78), "YQ==");
  EXPECT_EQ(b64(std::string(114, 'a')).size(), 156u);

  pool* p = pool_create_with_heap(1024);
  EXPECT_STREQ(base64_encode(p, "foob", 4), "Zm9vYg==");
  // The one-line form: the same characters without any break.
  std::string groups;
  for (int i = 0; i < 38; ++i)
    groups += "YWFh";
  EXPECT_STREQ(base64_encode_line(p, std::string(114, 'a').data(), 114), groups.c_str());
  pool_destroy(p);
}

TEST(IqId, IdsAreBoundToTheirTextAndTakenOnce) {
  std::string id = iq_id_new("me@example.org/orvik");
  EXPECT_EQ(id.size(), 40u);
  EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(iq_id_take(id.c_str(), "other@example.org/orvik"), nullptr);
  const char* taken = iq_id_take(id.c_str(), "me@example.org/orvik");
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(std::string(taken), id);
  EXPECT_EQ(iq_id_take(id.c_str(), "me@example.org/orvik"), nullptr);  // taken once
  EXPECT_EQ(iq_id_take(nullptr, "x"), nullptr);
  EXPECT_EQ(iq_id_take("nonexistent", "x"), nullptr);
}

TEST(IqId, SlotsAreReusedAfterAHundredIds) {
  std::string first = iq_id_new("a");
  std::set<std::string> seen{first};
  for (int i = 1; i < IQ_ID_SLOTS; ++i)
    seen.insert(iq_id_new("a"));
  EXPECT_GT(seen.size(), 90u);  // random numbers may repeat, but hardly ever
  // The hundred-and-first id takes the first one's slot: the first id is gone.
  iq_id_new("a");
  EXPECT_EQ(iq_id_take(first.c_str(), "a"), nullptr);
}

TEST(StanzaId, DecimalCounterOfAtMostSevenDigits) {
  int32_t counter = 1;
  char text[STANZA_ID_SIZE];
  EXPECT_STREQ(stanza_id_next(&counter, text), "1");
  EXPECT_STREQ(stanza_id_next(&counter, text), "2");
  EXPECT_EQ(counter, 3);
  counter = 9999999;
  EXPECT_STREQ(stanza_id_next(&counter, text), "9999999");
  EXPECT_STREQ(stanza_id_next(&counter, text), "1");
}

}  // namespace
