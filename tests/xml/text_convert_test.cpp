#include "xml/text_convert.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

std::string bytes(const mstring& text) { return std::string(text.c_str(), text.length()); }

// Every code unit of the Basic Multilingual Plane except the surrogates, as UTF-16.
std::u16string whole_bmp() {
  std::u16string all;
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c < 0xD800 || c > 0xDFFF) {
      all.push_back(static_cast<char16_t>(c));
    }
  }
  return all;
}

class LocaleScope {
 public:
  explicit LocaleScope(const char* name) : old_(std::setlocale(LC_ALL, nullptr)) {
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~LocaleScope() { std::setlocale(LC_ALL, old_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::string old_;
  bool ok_;
};

}  // namespace

TEST(WideToUtf8, EncodesEachCharacter) {
  EXPECT_EQ(bytes(wide_to_utf8(u"A")), "A");
  EXPECT_EQ(bytes(wide_to_utf8(u"\u00E9")), "\xC3\xA9");
  EXPECT_EQ(bytes(wide_to_utf8(u"\u20AC")), "\xE2\x82\xAC");
  // U+1F600 as a surrogate pair: one four-byte sequence; a lone half is no character.
  EXPECT_EQ(bytes(wide_to_utf8(u"\U0001F600")), "\xF0\x9F\x98\x80");
  EXPECT_EQ(bytes(wide_to_utf8(u"a\xD83D" u"b")), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(bytes(wide_to_utf8(u"a\xDE00")), "a\xEF\xBF\xBD");
  EXPECT_EQ(bytes(wide_to_utf8(static_cast<const WCHAR*>(nullptr))), "");
  EXPECT_EQ(bytes(wide_to_utf8(wmstring(u"a\u07FFb\u0800"))), "a\xDF\xBF" "b\xE0\xA0\x80");
}

TEST(Utf8ToWide, DecodesValidText) {
  EXPECT_TRUE(utf8_to_wide("caf\xC3\xA9") == u"caf\u00E9");
  EXPECT_TRUE(utf8_to_wide("\xF0\x9F\x98\x80") == u"\U0001F600");  // four bytes: a pair
  EXPECT_TRUE(utf8_to_wide("\xED\xA0\xBD\xED\xB8\x80") == u"\U0001F600");  // halves, one by one
  EXPECT_TRUE(utf8_to_wide("") == u"");
}

TEST(Utf8ToWide, MalformedInputBecomesReplacementCharacters) {
  EXPECT_TRUE(utf8_to_wide("a\xFF" "b") == u"a\uFFFDb");
  EXPECT_TRUE(utf8_to_wide("\xC0\xAF") == u"\uFFFD\uFFFD");  // overlong '/'
  EXPECT_TRUE(utf8_to_wide("\xE0\x80\xAF") == u"\uFFFD\uFFFD\uFFFD");
  EXPECT_TRUE(utf8_to_wide("\xE2\x82") == u"\uFFFD");  // truncated at the end
  EXPECT_TRUE(utf8_to_wide("\xF4\x90\x80\x80") == u"\uFFFD\uFFFD\uFFFD\uFFFD");  // > U+10FFFF
}

TEST(Utf8RoundTrip, WholeBasicMultilingualPlane) {
  std::u16string all = whole_bmp();
  wmstring wide(all.c_str());
  mstring utf8 = wide_to_utf8(wide);
  EXPECT_TRUE(utf8_to_wide(utf8) == wide);
  EXPECT_EQ(bytes(wide_to_utf8(utf8_to_wide(utf8))), bytes(utf8));
}

TEST(LocaleConversion, FollowsTheProcessLocale) {
  {
    LocaleScope utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok());
    EXPECT_TRUE(wmstring("caf\xC3\xA9") == u"caf\u00E9");
    EXPECT_EQ(bytes(wide_to_mb(u"caf\u00E9 \U0001F600")), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    // A byte that is not UTF-8 is kept as the Latin-1 character of its value.
    EXPECT_TRUE(wmstring("\xE9t\xE9") == u"\u00E9t\u00E9");
    EXPECT_EQ(bytes(wide_to_mb(u"a\xD800z")), "a?z");  // lone surrogate
  }
  {
    LocaleScope plain("C");
    ASSERT_TRUE(plain.ok());
    EXPECT_TRUE(wmstring("plain") == u"plain");
    // Whatever the C locale makes of high bytes, nothing is dropped.
    EXPECT_EQ(wmstring("\xE9\xFF").length(), 2u);
    EXPECT_EQ(bytes(wide_to_mb(u"x\u20ACy")).front(), 'x');
  }
}
