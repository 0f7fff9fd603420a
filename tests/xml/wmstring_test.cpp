#include "xml/wmstring.h"

#include <gtest/gtest.h>

#include <new>

TEST(WmString, BehavesAsTheNarrowTwin) {
  wmstring empty;
  EXPECT_EQ(empty.length(), 0u);
  EXPECT_TRUE(empty == u"");

  wmstring text(u"abc");
  EXPECT_TRUE(text.substr(0, wmstring::npos) == u"abc");
  EXPECT_TRUE(text.substr(1, 1) == u"b");
  EXPECT_TRUE(text.substr(7) == u"");
  EXPECT_EQ(text.find(u'z'), wmstring::npos);
  EXPECT_EQ(text.find(u"bc"), 1u);
  EXPECT_EQ(text.find(u"abcd"), wmstring::npos);
  EXPECT_EQ(text.find(u"c", 5), wmstring::npos);

  wmstring joined = text + u"\u00E9" + wmstring(u"!");
  EXPECT_TRUE(joined == u"abc\u00E9!");
  EXPECT_TRUE(text == u"abc");
  joined.replace(3, 1, u"--");
  EXPECT_TRUE(joined == u"abc--!");
  joined.truncate(2);
  EXPECT_TRUE(joined == u"ab");
  EXPECT_TRUE(wmstring(u"a") < wmstring(u"b"));
  EXPECT_TRUE(u"x" + wmstring(u"y") == u"xy");
}

TEST(WmString, CaseFoldingComparisonFoldsOnlyAscii) {
  EXPECT_EQ(wide_compare_nocase(u"JUD", u"jud"), 0);
  EXPECT_NE(wide_compare_nocase(u"\u00C9", u"\u00E9"), 0);
  EXPECT_EQ(wide_compare(nullptr, u""), 0);
}
