#include "xml/jid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Jid : public ::testing::Test {
 protected:
  void TearDown() override { pool_destroy(p); }
  jid* parse(const std::string& text, int port = 5222) { return jid_new(p, text.c_str(), port); }
  pool* p = pool_create_with_heap(1024);
};

std::string s(const char* text) {
  return text ? text : "(null)";
}

TEST_F(Jid, UserServerPortAndResource) {
  jid* id = parse("alice@example.org:5223/phone");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(s(id->user), "alice");
  EXPECT_EQ(s(id->server), "example.org");
  EXPECT_EQ(id->host, id->server);
  EXPECT_EQ(id->port, 5223);
  EXPECT_EQ(s(id->resource), "phone");
  EXPECT_EQ(id->pool, p);
  EXPECT_EQ(id->reserved1, 0);
}

TEST_F(Jid, ResourceKeepsEveryFurtherSlash) {
  jid* id = parse("example.org/one/two");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->user, nullptr);
  EXPECT_EQ(s(id->server), "example.org");
  EXPECT_EQ(s(id->resource), "one/two");
  EXPECT_EQ(id->port, 5222);  // the default
  EXPECT_EQ(parse("example.org/")->resource, nullptr);
  // The resource is not checked, and a colon or at sign in it is part of it.
  jid* odd = parse("a@b/c:d@e <x>");
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(s(odd->resource), "c:d@e <x>");
  EXPECT_EQ(odd->port, 5222);
}

TEST_F(Jid, UserCaseIsKeptAndServerIsLowered) {
  jid* id = parse("Alice.Smith@Example.ORG");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(s(id->user), "Alice.Smith");
  EXPECT_EQ(s(id->server), "example.org");
}

TEST_F(Jid, SecondAtSplitsServerAndHost) {
  jid* id = parse("bob@gateway.example.org@relay.example.net:5000");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(s(id->server), "gateway.example.org");
  EXPECT_EQ(s(id->host), "relay.example.net");
  EXPECT_EQ(id->port, 5000);
}

TEST_F(Jid, PortConversionLikeAtoi) {
  EXPECT_EQ(parse("example.org:abc")->port, 0);
  EXPECT_EQ(parse("example.org:12ab")->port, 12);
  EXPECT_EQ(parse("example.org:99999999999999999999")->port, INT32_MAX);
  // The last colon is the port; an at sign after it belongs to the port text.
  jid* id = parse("example.org:52@x");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->user, nullptr);
  EXPECT_EQ(id->port, 52);
}

TEST_F(Jid, EmptyUserPartIsAbsent) {
  jid* id = parse("@example.org");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->user, nullptr);
}

TEST_F(Jid, InvalidAddresses) {
  EXPECT_EQ(jid_new(nullptr, "a@b", 0), nullptr);
  EXPECT_EQ(jid_new(p, nullptr, 0), nullptr);
  EXPECT_EQ(parse(""), nullptr);
  EXPECT_EQ(parse("user@"), nullptr);
  EXPECT_EQ(parse("/resource"), nullptr);
  EXPECT_EQ(parse("bad_server.org"), nullptr);
  EXPECT_EQ(parse("exa mple.org"), nullptr);
  EXPECT_EQ(parse("caf\xc3\xa9.org"), nullptr);
  EXPECT_EQ(parse("us er@example.org"), nullptr);
  EXPECT_EQ(parse("us\xc3\xa9r@example.org"), nullptr);  // byte >= 128 in the user
  EXPECT_EQ(parse("a\"b@example.org"), nullptr);
  EXPECT_EQ(parse("a<b@example.org"), nullptr);
  EXPECT_EQ(parse("a&b@example.org"), nullptr);
  EXPECT_EQ(parse("a'b@example.org"), nullptr);
  EXPECT_EQ(parse("a>b@example.org"), nullptr);
}

TEST_F(Jid, ServerLengthLimit) {
  std::string server255(251, 'a');
  server255 += ".org";
  EXPECT_NE(parse("u@" + server255), nullptr);
  EXPECT_EQ(parse("u@" + std::string(256, 'a')), nullptr);
  EXPECT_EQ(parse("u@" + std::string(300, 'b') + "/r"), nullptr);
}

TEST_F(Jid, LongUserIsCutTo64Bytes) {
  jid* id = parse(std::string(100, 'u') + "@example.org/res");
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(s(id->user), std::string(64, 'u'));
  EXPECT_EQ(s(id->server), "example.org");
  EXPECT_EQ(s(id->resource), "res");
  // The cut comes before the check: a bad byte past 64 does not matter.
  EXPECT_NE(parse(std::string(64, 'u') + " @example.org"), nullptr);
}

TEST_F(Jid, ValidateNormalisesInPlace) {
  jid id{};
  char server[] = "EXAMPLE.org";
  id.server = server;
  EXPECT_EQ(jid_validate(&id), &id);
  EXPECT_STREQ(server, "example.org");
  EXPECT_EQ(jid_validate(nullptr), nullptr);
  jid no_server{};
  EXPECT_EQ(jid_validate(&no_server), nullptr);
}

}  // namespace
