// Chat text formatting: protection, emoticons and links, and what the view makes of them.
#include "ui/chat_format.h"

#include <expat.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/ui/chat_wnd_support.h"
#include "ui/emoticons.h"

namespace {

struct FormatCase {
  const char16_t* text;
  const char16_t* markup;
};

// The element the emoticon module makes for ":)" (its attributes are its own business).
std::u16string Happy() {
  return ReplaceEmoticons(u":)").c_str();
}

std::u16string Format(const char16_t* text) {
  return FormatChatText(text, true).c_str();
}

TEST(ChatFormatTest, TextBecomesProtectedMarkupWithEmoticonsAndLinks) {
  const FormatCase cases[] = {
      {u"a<b>c", u"a<![CDATA[<]]>b<![CDATA[>]]>c"},
      {u"&amp;", u"<![CDATA[&]]>amp;"},
      // Text that looks like the section markers stays text.
      {u"!CD!+x!CD!-", u"!CD!+x!CD!-"},
      {u"a\x01z", u"a\uFFFDz"},
      {u"see www.x.org/p?q=1 now", u"see <A HREF='http://www.x.org/p?q=1'>www.x.org/p?q=1</A> now"},
      {u"https://a.b/c", u"<A HREF='https://a.b/c'>https://a.b/c</A>"},
      {u"go http://a/?x=1&y=2 z",
       u"go <A HREF='http://a/?x=1&amp;y=2'>http://a/?x=1<![CDATA[&]]>y=2</A> z"},
      {u"www.a.b then http://c", u"www.a.b then <A HREF='http://c'>http://c</A>"},
      {u"https://s and http://t",
       u"<A HREF='https://s'>https://s</A> and <A HREF='http://t'>http://t</A>"},
      {u"a<http://q>", u"a<![CDATA[<]]><A HREF='http://q'>http://q</A><![CDATA[>]]>"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(Format(c.text), std::u16string(c.markup)) << wide_to_utf8(c.text).c_str();
  }
}

TEST(ChatFormatTest, EmoticonsAtTheEndsAndBetweenSpacesOnly) {
  ASSERT_NE(Happy().find(u"IDB_EMOTICON_HAPPY"), std::u16string::npos);
  EXPECT_EQ(Format(u":) a :) b:) c :)"), Happy() + u" a " + Happy() + u" b:) c " + Happy());
  EXPECT_EQ(std::u16string(FormatChatText(u":)", false).c_str()), u":)");
}

// What a reader of the formatted markup gets back: its text with each image's ALT text in
// place; "(malformed)" when the markup does not parse.
std::string ReadBack(const std::u16string& markup) {
  std::string text;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &text);
  XML_SetElementHandler(
      parser,
      [](void* out, const char* name, const char** attributes) {
        for (int i = 0; std::strcmp(name, "IMG") == 0 && attributes[i] != nullptr; i += 2) {
          if (std::strcmp(attributes[i], "ALT") == 0) {
            *static_cast<std::string*>(out) += attributes[i + 1];
          }
        }
      },
      [](void*, const char*) {});
  XML_SetCharacterDataHandler(parser, [](void* out, const char* data, int length) {
    static_cast<std::string*>(out)->append(data, static_cast<std::size_t>(length));
  });
  mstring document = mstring("<TEXT>") + wide_to_utf8(markup.c_str()) + "</TEXT>";
  bool parsed =
      XML_Parse(parser, document.c_str(), static_cast<int>(document.length()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed ? text : "(malformed)";
}

// Emoticons next to protected characters (found by fuzzing: ">:)" after a protected "&" took
// the protection's closing "]]>" and the whole line showed as markup).
TEST(ChatFormatTest, EmoticonsNextToProtectedCharactersKeepTheMarkupWhole) {
  const struct {
    const char16_t* text;
    const char* image;  // the one emoticon expected, or null
  } cases[] = {
      {u"http:/&:)", "IDB_EMOTICON_HAPPY"},
      {u">:)", "IDB_EMOTICON_ANGRY"},
      {u"a &>:)", "IDB_EMOTICON_ANGRY"},
      {u"<:)", "IDB_EMOTICON_HAPPY"},
      {u"]]>:)", "IDB_EMOTICON_ANGRY"},
      {u"<3 you", "IDB_EMOTICON_LOVE"},
      {u"x&:)y", nullptr},
  };
  for (const auto& c : cases) {
    std::u16string markup = FormatChatText(c.text, true).c_str();
    std::string text = wide_to_utf8(c.text).c_str();
    EXPECT_EQ(ReadBack(markup), text) << text;
    std::string images = wide_to_utf8(markup.c_str()).c_str();
    if (c.image != nullptr) {
      EXPECT_NE(images.find(c.image), std::string::npos) << text;
    } else {
      EXPECT_EQ(images.find("<IMG"), std::string::npos) << text;
    }
  }
}

TEST(ChatFormatTest, OnlyWebAndXmppAddressesMayBeOpened) {
  const std::pair<const char*, bool> cases[] = {
      {"http://a", true},     {"HTTPS://a", true},     {"xmpp:bob@x", true}, {"/etc/passwd", false},
      {"file:///etc", false}, {"javascript:x", false}, {"http:", false},     {"", false},
  };
  for (const auto& [target, openable] : cases) {
    EXPECT_EQ(IsOpenableLink(target), openable) << target;
  }
  EXPECT_FALSE(IsOpenableLink(nullptr));
}

using ChatViewTest = ChatWndTest;

std::u16string DrawnText(const MHtmlWnd& view) {
  std::u16string text;
  for (const HtmlOp& op : view.LayoutOps()) {
    text += op.text;
  }
  return text;
}

TEST_F(ChatViewTest, HostileNamesAreTextAndAddressesAreOneLinkEach) {
  ChatRecord* record = Open(kChatOneToOne, "bob@x", u"<A HREF='/etc/passwd'>x");
  chat_.AppendToHistory(record, u"go http://a/?x=1&y=2 &amp; <b>", true);
  chat_.Redraw();
  // One address: each drawn piece of it leads to the same whole target.
  std::vector<HtmlLink> links = chat_.Links();
  ASSERT_FALSE(links.empty());
  for (const HtmlLink& link : links) {
    EXPECT_STREQ(link.target.c_str(), "http://a/?x=1&y=2");
  }
  std::u16string text = DrawnText(chat_);
  EXPECT_NE(text.find(u"<A HREF='/etc/passwd'>x"), std::u16string::npos);
  EXPECT_NE(text.find(u"&amp; <b>"), std::u16string::npos);
}

TEST_F(ChatViewTest, AnEmojiKeepsTheViewAndGrowingHistoryIsAppendedWhole) {
  ChatRecord* record = Open(kChatOneToOne, "bob@x");
  chat_.AppendToHistory(record, u"smile \U0001F600", true);
  chat_.Redraw();
  chat_.AppendToHistory(record, u"<P>again</P>", false);
  chat_.Redraw();
  EXPECT_EQ(std::u16string(chat_.GetContent().c_str()), record->History());
  EXPECT_NE(DrawnText(chat_).find(u"\U0001F600"), std::u16string::npos);
  EXPECT_NE(DrawnText(chat_).find(u"again"), std::u16string::npos);
  ChatRecord* other = Open(kChatOneToOne, "carol@x", u"Carol");
  EXPECT_EQ(std::u16string(chat_.GetContent().c_str()), other->History());
  chat_.SetCurrentChat(record);
  chat_.Redraw();
  EXPECT_EQ(std::u16string(chat_.GetContent().c_str()), record->History());
}

}  // namespace
