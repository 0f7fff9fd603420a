// Emoticon replacement and the image table.
#include "ui/emoticons.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

std::u16string Replace(const char16_t* text) {
  wmstring result = ReplaceEmoticons(wmstring(text));
  return std::u16string(result.c_str(), result.length());
}

// The element with the emoticon's text as it is written in the attribute.
std::u16string Img(const char16_t* name, const char16_t* alt) {
  return std::u16string(u"<IMG SRC = \"IDB_EMOTICON_") + name + u"\" ALT = \"" + alt + u"\"></IMG>";
}

TEST(EmoticonsTest, TheTablesHaveEveryEntryInOrder) {
  int entries = 0;
  while (kEmoticons[entries].text != nullptr) {
    ++entries;
  }
  EXPECT_EQ(entries, 78);
  EXPECT_EQ(std::u16string(kEmoticons[8].text), u":\\>");
  int images = 0;
  while (kEmoticonImages[images].name != nullptr) {
    ++images;
  }
  EXPECT_EQ(images, 63);
}

TEST(EmoticonsTest, StartEndAndBetweenSpaces) {
  EXPECT_EQ(Replace(u":-)"), Img(u"HAPPY", u":-)"));
  EXPECT_EQ(Replace(u"O:-)"), Img(u"GOOD", u"O:-)"));  // the halo, not "O" and a smile
  EXPECT_EQ(Replace(u"so:)so"), u"so:)so");            // inside a word: stays text
  EXPECT_EQ(Replace(u"well:)"), u"well" + Img(u"HAPPY", u":)"));
  EXPECT_EQ(Replace(u"a :) b"), u"a " + Img(u"HAPPY", u":)") + u" b");
  EXPECT_EQ(Replace(u"a :)b"), u"a :)b");
  EXPECT_EQ(Replace(u":))"), Img(u"HAPPY", u":))"));  // the longer form listed first wins
  EXPECT_EQ(Replace(u""), u"");
  EXPECT_EQ(Replace(u">:)"), Img(u"ANGRY", u"&gt;:)"));  // the text is escaped for XML
}

TEST(EmoticonsTest, AnEarlierReplacementDoesNotMakeLaterWordsLookLikeTheEnd) {
  // After the first replacement the text is longer than the message was; an emoticon inside a
  // word further on is still inside a word.
  EXPECT_EQ(Replace(u"(A) x:)y"), Img(u"GOOD", u"(A)") + u" x:)y");
}

TEST(EmoticonsTest, NoEmoticonIsTakenOutOfAnInsertedElement) {
  // ">:)" would otherwise match the inserted element's closing ">" and a smile after it.
  EXPECT_EQ(Replace(u"(A):)"), Img(u"GOOD", u"(A)") + Img(u"HAPPY", u":)"));
}

TEST(EmoticonsTest, ProtectedTextWithoutAngleBracketsDoesNotMatchThem) {
  EXPECT_EQ(Replace(u"&lt;3"), u"&lt;3");
}

TEST(EmoticonsTest, ALongMessageFullOfEmoticonsIsReplacedInReasonableTime) {
  // A peer may send a message of many thousands of smiles; the chat must not hang on it.
  std::u16string text;
  for (int i = 0; i < 20000; ++i) {
    text += u" :) x:)y";
  }
  auto start = std::chrono::steady_clock::now();
  std::u16string result = Replace(text.c_str());
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(5));
  std::u16string unit = u" " + Img(u"HAPPY", u":)") + u" x:)y";
  ASSERT_EQ(result.size(), unit.size() * 20000);
  EXPECT_EQ(result.substr(0, unit.size()), unit);
  EXPECT_EQ(result.substr(result.size() - unit.size()), unit);
}

TEST(EmoticonsTest, LookupIsExact) {
  EXPECT_EQ(LookupEmoticonImage("IDB_EMOTICON_COOL"), 173);
  EXPECT_EQ(LookupEmoticonImage("idb_emoticon_cool"), -1);
  EXPECT_EQ(LookupEmoticonImage("IDB_EMOTICON_MOON"), 8182);
  EXPECT_EQ(LookupEmoticonImage(nullptr), -1);
}

}  // namespace
