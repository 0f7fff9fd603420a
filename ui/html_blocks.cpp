// Finding the top-level element boundaries of the view's markup without parsing it: only tags,
// quoted attribute values, comments, CDATA sections and processing instructions are told apart.
#include "ui/html_blocks.h"

namespace {

constexpr std::size_t kNone = std::u16string::npos;

// Past the end of `close` found from `at`, or kNone.
std::size_t Past(const std::u16string& text, std::size_t at, const char16_t* close) {
  std::size_t found = text.find(close, at);
  return found == kNone ? kNone : found + std::char_traits<char16_t>::length(close);
}

// Past the '>' of the tag starting at `at` (its '<'), skipping quoted attribute values.
std::size_t PastTag(const std::u16string& text, std::size_t at) {
  char16_t quote = 0;
  for (std::size_t i = at + 1; i < text.size(); ++i) {
    char16_t c = text[i];
    if (quote != 0) {
      quote = c == quote ? 0 : quote;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  return kNone;
}

}  // namespace

std::vector<std::uint32_t> SplitHtmlBlocks(const std::u16string& content, std::uint32_t from,
                                           bool* closed) {
  std::vector<std::uint32_t> ends;
  int depth = 0;
  std::size_t at = from;
  while ((at = content.find(u'<', at)) != kNone) {
    std::size_t next = kNone;
    bool closes = false;
    if (content.compare(at, 4, u"<!--") == 0) {
      next = Past(content, at + 4, u"-->");
    } else if (content.compare(at, 9, u"<![CDATA[") == 0) {
      next = Past(content, at + 9, u"]]>");
    } else if (content.compare(at, 2, u"<?") == 0) {
      next = Past(content, at + 2, u"?>");
    } else if (content.compare(at, 2, u"</") == 0) {
      next = PastTag(content, at);
      closes = --depth == 0;
      if (depth < 0) {
        break;
      }
    } else {
      next = PastTag(content, at);
      bool empty = next != kNone && content[next - 2] == u'/';
      closes = empty && depth == 0;
      depth += empty ? 0 : 1;
    }
    if (next == kNone) {
      break;
    }
    if (closes) {
      ends.push_back(static_cast<std::uint32_t>(next));
    }
    at = next;
  }
  std::uint32_t last = ends.empty() ? from : ends.back();
  *closed = !ends.empty() && last == content.size();
  if (last < content.size()) {
    ends.push_back(static_cast<std::uint32_t>(content.size()));
  }
  return ends;
}

bool HasLineBreakTag(const std::u16string& content, std::uint32_t begin, std::uint32_t end) {
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; };
  auto endsName = [](char16_t c) {
    return c == u'>' || c == u'/' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
  };
  for (std::size_t at = content.find(u'<', begin); at != kNone && at + 2 < end;
       at = content.find(u'<', at + 1)) {
    char16_t first = upper(content[at + 1]);
    if (first == u'P' && endsName(content[at + 2])) {
      return true;
    }
    if (first == u'B' && upper(content[at + 2]) == u'R' && at + 3 < end &&
        endsName(content[at + 3])) {
      return true;
    }
  }
  return false;
}
