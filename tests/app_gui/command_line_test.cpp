// The command line: option cw with plain, quoted and xmpp: values; other options skipped.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/platform_code.h"

namespace {

std::vector<std::string> Jids(const char* line) {
  std::vector<std::string> out;
  for (const mstring& jid : CommandLineJids(line)) {
    out.emplace_back(jid.c_str());
  }
  return out;
}

using Strings = std::vector<std::string>;

TEST(CommandLineTest, PlainQuotedAndXmppValues) {
  EXPECT_EQ(Jids("-cw anna@example.org"), Strings{"anna@example.org"});
  EXPECT_EQ(Jids("-cw \"xmpp:anna@example.org\""), Strings{"anna@example.org"});
  EXPECT_EQ(Jids("-cw xmpp:bob@example.org"), Strings{"bob@example.org"});
  EXPECT_EQ(Jids("-cw \"unterminated@example.org"), Strings{"unterminated@example.org"});
}

TEST(CommandLineTest, EmptyValuesOpenNothing) {
  EXPECT_TRUE(Jids("-cw").empty());
  EXPECT_TRUE(Jids("-cw \"\"").empty());
  EXPECT_TRUE(Jids("-cw ").empty());
  EXPECT_TRUE(Jids("").empty());
  EXPECT_TRUE(Jids("-cw xmpp:").empty());
}

TEST(CommandLineTest, OtherOptionsAreSkippedAndScanningResumesAfterTheValue) {
  EXPECT_EQ(Jids("-x 1 -cw first@a.org -y -cw second-one@b.org"),
            (Strings{"first@a.org", "second-one@b.org"}));
  EXPECT_TRUE(Jids("-cwx a@b.org").empty());
}

TEST(CommandLineTest, ArgumentsJoinWithQuotesWhereNeeded) {
  char program[] = "orvik";
  char option[] = "-cw";
  char value[] = "xmpp:a b@c";
  char* argv[] = {program, option, value, nullptr};
  EXPECT_EQ(std::string(JoinArguments(3, argv).c_str()), "-cw \"xmpp:a b@c\"");
  EXPECT_EQ(Jids(JoinArguments(3, argv).c_str()), Strings{"a b@c"});
}

// How the desktop starts the program for a clicked link: "orvik %u".
TEST(CommandLineTest, ABareXmppAddressOpensAConversation) {
  const struct {
    const char* argument;
    Strings jids;
  } cases[] = {
      {"xmpp:anna@example.org", {"anna@example.org"}},
      {"XMPP:anna@example.org", {"anna@example.org"}},
      {"xmpp:anne-marie@example.org", {"anne-marie@example.org"}},
      {"xmpp:anna@example.org/phone", {"anna@example.org/phone"}},
      {"xmpp:anna@example.org?message;body=hi", {"anna@example.org"}},
      {"xmpp://me@example.org/anna@example.org", {"anna@example.org"}},
      {"xmpp:caf%C3%A9@example.org#x", {"caf\xC3\xA9@example.org"}},
      {"xmpp:", {}},
      {"xmpp://me@example.org", {}},
      {"xmpp:a%20b@example.org", {}},
      {"xmpp:a%22b@example.org", {}},
      {"xmpp:a%0Ab@example.org", {}},
      {"xmpp:broken%4@example.org", {}},
      {"xmpp:end%", {}},
  };
  for (const auto& test : cases) {
    char program[] = "orvik";
    std::string argument = test.argument;
    char* argv[] = {program, argument.data(), nullptr};
    EXPECT_EQ(Jids(JoinArguments(2, argv).c_str()), test.jids) << test.argument;
  }
}

TEST(PlatformCodeTest, TheTableOfCodes) {
  EXPECT_EQ(PlatformCode(3, u"PocketPC", false), 1u);
  EXPECT_EQ(PlatformCode(3, u"SmartPhone", false), 2u);
  EXPECT_EQ(PlatformCode(4, u"PocketPC", false), 3u);
  EXPECT_EQ(PlatformCode(4, u"Smartphone", false), 4u);
  EXPECT_EQ(PlatformCode(4, u"", true), 4u);
  EXPECT_EQ(PlatformCode(4, u"pocketpc", false), 0u);  // exact comparison
  EXPECT_EQ(PlatformCode(6, u"PocketPC", false), 0u);
  EXPECT_EQ(PlatformCode(6, u"Desktop", false), 0u);
}

}  // namespace
