#include "xml/mstring.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

TEST(MString, EmptyAndBasicCopies) {
  mstring empty;
  EXPECT_EQ(empty.length(), 0u);
  EXPECT_TRUE(empty == "");
  EXPECT_TRUE(empty == mstring(""));

  mstring null_text(static_cast<const char*>(nullptr));
  EXPECT_EQ(null_text.length(), 0u);

  mstring a("abc");
  mstring b(a);
  b += mstring("d");
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(b, "abcd");
  a = a;  // self-assignment keeps the text
  EXPECT_EQ(a, "abc");
  a = a.c_str();
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(mstring("x") + "y" + mstring("z"), "xyz");
  EXPECT_EQ("x" + mstring("y"), "xy");
  EXPECT_NE(a, "abd");
}

TEST(MString, OrderIsByteOrder) {
  std::map<mstring, int> sorted{{"b", 2}, {"a", 1}, {"B", 0}};
  EXPECT_EQ(sorted.begin()->first, "B");
  EXPECT_TRUE(mstring("ab") < mstring("abc"));
}

TEST(MString, SubstrAndFind) {
  mstring text("abc");
  EXPECT_EQ(text.substr(0, mstring::npos), "abc");
  EXPECT_EQ(text.substr(1, 1), "b");
  EXPECT_EQ(text.substr(2), "c");
  EXPECT_EQ(text.find('z'), mstring::npos);
  EXPECT_EQ(text.find('z'), 0xFFFFFFFFu);
  EXPECT_EQ(text.find("bc"), 1u);
  EXPECT_EQ(text.find("bc", 2), mstring::npos);
  EXPECT_EQ(text.find('c', 1), 2u);
  EXPECT_EQ(mstring("a.b.c").find(mstring("."), 2), 3u);
}

TEST(MString, PositionsPastTheEndAreHarmless) {
  mstring text("abc");
  EXPECT_EQ(text.substr(10, 2), "");
  EXPECT_EQ(text.find("a", 10), mstring::npos);
  EXPECT_EQ(text.find('a', 10), mstring::npos);
  EXPECT_EQ(text.find_first_of("a", 10), mstring::npos);
  text.replace(10, 5, "!");
  EXPECT_EQ(text, "abc!");
  text.replace(1, 100, "");
  EXPECT_EQ(text, "a");
}

TEST(MString, FindFirstOfAndToken) {
  mstring address("user@host/res/with/slashes");
  EXPECT_EQ(address.find_first_of("/@"), 4u);
  EXPECT_EQ(address.find_first_of("#"), mstring::npos);
  EXPECT_EQ(mstring("").find_first_of("/"), mstring::npos);
  EXPECT_EQ(address.token("/"), "user@host");
  EXPECT_EQ(address.token("/", 10), "res");
  EXPECT_EQ(address.token("#", 5), "host/res/with/slashes");
}

TEST(MString, ReplaceAndTruncate) {
  mstring text("hello world");
  text.replace(6, 5, "there");
  EXPECT_EQ(text, "hello there");
  text.replace(0, 0, ">> ");
  EXPECT_EQ(text, ">> hello there");
  text.truncate(5);
  EXPECT_EQ(text, ">> he");
  EXPECT_EQ(text.length(), 5u);
  text.truncate(100);
  EXPECT_EQ(text, ">> he");
}

TEST(MString, CaseInsensitiveComparisonFoldsOnlyAscii) {
  EXPECT_EQ(mstricmp("Romeo@Example.NET", "romeo@example.net"), 0);
  EXPECT_LT(mstricmp("abc", "abd"), 0);
  EXPECT_GT(mstricmp("abd", "ABC"), 0);
  EXPECT_NE(mstricmp("\xC3\x89", "\xC3\xA9"), 0);  // É and é stay different
  EXPECT_EQ(mstricmp("[", "["), 0);
  EXPECT_NE(mstricmp("[", "{"), 0);  // only A-Z fold
  EXPECT_LT(mstricmp("ab", "abc"), 0);
  // The fold key of texts mstricmp finds equal is the same key.
  EXPECT_EQ(mstrfold("Romeo@Example.NET [\xC3\x89]"), "romeo@example.net [\xC3\x89]");
  EXPECT_EQ(mstrfold(nullptr), "");
}

TEST(MString, DuplicateFromTheHeap) {
  char* copy = mstrdup("text");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "text");
  std::free(copy);
  EXPECT_EQ(mstrdup(nullptr), nullptr);
}

TEST(MString, CountedCopyReadsNoFurtherThanItsCount) {
  const char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(mstring(unterminated, 2), "ab");
  EXPECT_EQ(mstring("xy", 10), "xy");
  EXPECT_EQ(mstring(nullptr, 4), "");
}
