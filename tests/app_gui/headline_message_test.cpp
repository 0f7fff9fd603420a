// Which received messages become headlines, and from whom they are accepted.
#include "app/headline_message.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/xml/packet_harness.h"
#include "xml/text_convert.h"

namespace {

struct Case {
  std::string stanza;
  bool rosterContact;
  const char* source;  // null: no headline
};

std::string Oob(const std::string& url) {
  return "<x xmlns='jabber:x:oob'><url>" + url + "</url></x>";
}

// The source of the headline made of `stanza`, "-" when none, for a user of "localhost".
std::string SourceOf(const std::string& stanza, bool rosterContact,
                     const char* ownDomain = "localhost") {
  std::string source = "-";
  WithPacket(stanza, [&](packet* p) {
    HeadlineSender sender{ownDomain, rosterContact, rosterContact ? u"Bob" : u""};
    if (std::optional<Headline> headline = HeadlineFromMessage(p, sender)) {
      source = wide_to_utf8(headline->source).c_str();
    }
  });
  return source;
}

TEST(HeadlineMessage, AcceptedOnlyFromTheServerItsServicesAndContacts) {
  const std::string body = "<body>b</body>";
  const Case cases[] = {
      {"<message from='localhost' type='headline'>" + body + "</message>", false, "localhost"},
      {"<message from='news.localhost' type='headline'>" + body + "</message>", false,
       "news.localhost"},
      {"<message from='feed@news.LOCALHOST/r'>" + Oob("http://a/") + "</message>", false,
       "feed@news.localhost"},
      {"<message from='bob@localhost/r' type='headline'>" + body + "</message>", true, "Bob"},
      {"<message from='bob@localhost/r' type='headline'>" + body + "</message>", false, nullptr},
      {"<message from='localhost/r' type='headline'>" + body + "</message>", false, "localhost"},
      {"<message from='evillocalhost' type='headline'>" + body + "</message>", false, nullptr},
      {"<message from='news.localhost.evil' type='headline'>" + body + "</message>", false,
       nullptr},
      {"<message type='headline'>" + body + "</message>", true, nullptr},
      // A chat with a link stays a chat; an empty headline shows nothing.
      {"<message from='news.localhost' type='chat'>" + Oob("http://a/") + "</message>", false,
       nullptr},
      {"<message from='news.localhost' type='headline'/>", false, nullptr},
      {"<message from='news.localhost'>" + body + "</message>", false, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SourceOf(c.stanza, c.rosterContact), c.source != nullptr ? c.source : "-")
        << c.stanza;
  }
  // Not connected: only contacts.
  std::string service = "<message from='news.localhost' type='headline'>" + body + "</message>";
  EXPECT_EQ(SourceOf(service, false, ""), "-");
}

TEST(HeadlineMessage, LongFieldsAreBounded) {
  std::string title(kHeadlineTitleLimit + 10, 't');
  std::string url = "http://a/" + std::string(kHeadlineUrlLimit, 'u');
  std::string stanza = "<message from='news.localhost' type='headline'><subject>" + title +
                       "</subject>" + Oob(url) + "</message>";
  WithPacket(stanza, [&](packet* p) {
    std::optional<Headline> headline = HeadlineFromMessage(p, {"localhost", false, u""});
    ASSERT_TRUE(headline.has_value());
    EXPECT_EQ(headline->title.length(), kHeadlineTitleLimit);
    EXPECT_TRUE(headline->url.empty());  // a cut address would lead elsewhere
  });
}

}  // namespace
