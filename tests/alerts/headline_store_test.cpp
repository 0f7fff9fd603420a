// The headlines viewer's store and pages: what is kept when a source or the list of sources
// overflows, and page names that follow their source whatever sorts before it.
#include "alerts/headline_store.h"

#include <gtest/gtest.h>

#include <string>

#include "alerts/headline_pages.h"
#include "xml/text_convert.h"

namespace {

std::u16string Str(const wmstring& text) {
  return std::u16string(text.c_str(), text.length());
}

Headline Make(const std::u16string& source, int number) {
  std::string title = "t" + std::to_string(number);
  return {mstring("https://example.org/"), wmstring(source.c_str()),
          utf8_to_wide(mstring(title.c_str())), wmstring(u"d")};
}

TEST(HeadlineStore, KeepsTheNewestOfASourceAndSaysHowManyWentBefore) {
  MHeadlineStore store;
  const int total = static_cast<int>(MHeadlineStore::kMaxPerSource) + 5;
  for (int i = 0; i < total; ++i) {
    EXPECT_EQ(i == 0, store.Add(Make(u"feed", i)));
  }
  const MHeadlineStore::Source* feed = store.Find(u"feed");
  ASSERT_NE(feed, nullptr);
  EXPECT_EQ(feed->headlines.size(), MHeadlineStore::kMaxPerSource);
  EXPECT_EQ(feed->dropped, 5u);
  EXPECT_EQ(Str(feed->headlines.front().title), u"t5");
  EXPECT_EQ(Str(feed->headlines.back().title), u"t1004");
  std::u16string page = Str(HeadlineSourcePage(*feed));
  EXPECT_NE(page.find(u"<P><CENTER>5 older headlines were dropped.</CENTER></P>"),
            std::u16string::npos);
  EXPECT_EQ(page.find(u">t4<"), std::u16string::npos);
  EXPECT_NE(page.find(u">t5<"), std::u16string::npos);
}

TEST(HeadlineStore, ANewSourceBeyondTheLimitReplacesTheQuietestOne) {
  MHeadlineStore store;
  for (int i = 0; i < static_cast<int>(MHeadlineStore::kMaxSources); ++i) {
    store.Add(Make(Str(utf8_to_wide(mstring(("s" + std::to_string(i)).c_str()))), i));
  }
  store.Add(Make(u"s0", 1000));  // s0 speaks again: s1 is now the quietest
  EXPECT_TRUE(store.Add(Make(u"new", 0)));
  EXPECT_EQ(store.Sources().size(), MHeadlineStore::kMaxSources);
  EXPECT_EQ(store.DroppedSources(), 1u);
  EXPECT_NE(store.Find(u"s0"), nullptr);
  EXPECT_EQ(store.Find(u"s1"), nullptr);
  EXPECT_NE(store.Find(u"new"), nullptr);
  EXPECT_NE(Str(HeadlineIndexPage(store)).find(u"1 older sources were dropped."),
            std::u16string::npos);
}

TEST(HeadlinePages, ASourceKeepsItsPageNameWhenAnotherSortsFirst) {
  MHeadlineStore store;
  store.Add(Make(u"zeta", 0));
  std::u16string link = u"HREF = \"" + Str(utf8_to_wide(HeadlinePageName(u"zeta"))) + u"\">zeta";
  EXPECT_NE(Str(HeadlineIndexPage(store)).find(link), std::u16string::npos);
  store.Add(Make(u"alpha", 0));
  std::u16string index = Str(HeadlineIndexPage(store));
  EXPECT_NE(index.find(link), std::u16string::npos);
  EXPECT_LT(index.find(u">alpha<"), index.find(u">zeta<"));
}

TEST(HeadlinePages, PageNamesAreDistinctAndNeverWebAddresses) {
  struct Case {
    const char16_t* source;
    const char* name;
  };
  for (const Case& c :
       {Case{u"news.localhost", "source:news.localhost"}, Case{u"a b", "source:a%20b"},
        Case{u"a%20b", "source:a%2520b"}, Case{u"http://evil/", "source:http%3A%2F%2Fevil%2F"},
        Case{u"\"<&>\"", "source:%22%3C%26%3E%22"}, Case{u"caf\u00e9", "source:caf%C3%A9"}}) {
    mstring name = HeadlinePageName(c.source);
    EXPECT_STREQ(name.c_str(), c.name);
    EXPECT_FALSE(IsWebAddress(name)) << c.name;
  }
}

TEST(HeadlinePages, OnlyHttpAndHttpsAddressesAreWebAddresses) {
  struct Case {
    const char* url;
    bool web;
  };
  for (const Case& c :
       {Case{"http://example.org/", true}, Case{"HTTPS://example.org/", true},
        Case{"file:///etc/passwd", false}, Case{"javascript:alert('http:')", false},
        Case{"index", false}, Case{" http://example.org/", false}, Case{"", false}}) {
    EXPECT_EQ(IsWebAddress(c.url), c.web) << c.url;
  }
}

}  // namespace
