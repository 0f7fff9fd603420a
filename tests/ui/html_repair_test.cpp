// Showing the appends that break the view's markup as text: whatever the appends, the result
// parses, and appends that were fine together come back unchanged.
#include "ui/html_repair.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/text_convert.h"

namespace {

bool Parses(const std::u16string& fragment) {
  std::string markup = std::string("<TEXT>") + wide_to_utf8(fragment.c_str()).c_str() + "</TEXT>";
  XML_Parser parser = XML_ParserCreate(nullptr);
  bool parsed =
      XML_Parse(parser, markup.data(), static_cast<int>(markup.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed;
}

TEST(HtmlRepairTest, EveryOrderOfGoodAndBadAppendsEndsWellFormed) {
  const std::vector<std::u16string> appends = {
      u"<B>bold</B> ",        u"<B>",     u"</B>",      u"a & b", u"x <", u"<FONT COLOR=\"RED\"",
      u"&amp;lt; ]]> \u0001", u"</TEXT>", u"<BR></BR>", u""};
  for (const std::u16string& a : appends) {
    for (const std::u16string& b : appends) {
      for (const std::u16string& c : appends) {
        std::u16string segment = a + b + c;
        bool changed = false;
        std::u16string shown =
            ShowMalformedAsText(segment, {0, a.size(), a.size() + b.size()}, &changed);
        std::string label(wide_to_utf8(segment.c_str()).c_str());
        EXPECT_TRUE(Parses(shown)) << label;
        EXPECT_EQ(changed, !Parses(segment)) << label;
        if (!changed) {
          EXPECT_EQ(shown, segment) << label;
        }
      }
    }
  }
}

TEST(HtmlRepairTest, EscapedTextShowsExactlyAsItWasWritten) {
  EXPECT_EQ(EscapeAsText(u"<B>x &lt; y</B> \u0001\uFFFF"),
            u"&lt;B&gt;x &amp;lt; y&lt;/B&gt; \uFFFD\uFFFD");
}

}  // namespace
