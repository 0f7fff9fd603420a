// Finding the appends that break the view's markup with a streaming parser, and escaping them.
#include "ui/html_repair.h"

#include <expat.h>

#include <deque>
#include <memory>

#include "xml/text_convert.h"

namespace {

std::string Utf8(const std::u16string& text) {
  return wide_to_utf8(text.c_str()).c_str();
}

bool AllowedInXml(char16_t c, char16_t before, char16_t after) {
  if (c < 0x20) {
    return c == u'\t' || c == u'\n' || c == u'\r';
  }
  if (c >= 0xD800 && c <= 0xDBFF) {
    return after >= 0xDC00 && after <= 0xDFFF;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) {
    return before >= 0xD800 && before <= 0xDBFF;
  }
  return c != 0xFFFE && c != 0xFFFF;
}

void XMLCALL OnStart(void* depth, const char*, const char**) {
  ++*static_cast<int*>(depth);
}
void XMLCALL OnEnd(void* depth, const char*) {
  --*static_cast<int*>(depth);
}

// A parser fed the root's start tag and then markup piece by piece, counting the elements
// open inside the root.
class MarkupStream {
 public:
  explicit MarkupStream(const std::u16string& kept) : parser_(XML_ParserCreate(nullptr)) {
    XML_SetUserData(parser_, &depth_);
    XML_SetElementHandler(parser_, OnStart, OnEnd);
    Feed("<TEXT>");
    Feed(Utf8(kept));
  }
  ~MarkupStream() { XML_ParserFree(parser_); }
  MarkupStream(const MarkupStream&) = delete;
  MarkupStream& operator=(const MarkupStream&) = delete;

  bool Feed(const std::string& bytes) {
    return XML_Parse(parser_, bytes.data(), static_cast<int>(bytes.size()), 0) == XML_STATUS_OK;
  }
  int Open() const { return depth_ - 1; }

 private:
  XML_Parser parser_;
  int depth_ = 0;
};

// The fragment parses whole inside the root: no element left open, no token cut off.
bool WellFormed(const std::u16string& fragment) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  std::string markup = "<TEXT>" + Utf8(fragment) + "</TEXT>";
  bool parsed =
      XML_Parse(parser, markup.data(), static_cast<int>(markup.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return parsed;
}

}  // namespace

std::u16string EscapeAsText(const std::u16string& text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    char16_t before = i > 0 ? text[i - 1] : u'\0';
    char16_t after = i + 1 < text.size() ? text[i + 1] : u'\0';
    if (c == u'&') {
      escaped += u"&amp;";
    } else if (c == u'<') {
      escaped += u"&lt;";
    } else if (c == u'>') {
      escaped += u"&gt;";
    } else if (!AllowedInXml(c, before, after)) {
      escaped += u'\uFFFD';
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::u16string ShowMalformedAsText(const std::u16string& segment,
                                   const std::vector<std::size_t>& starts, bool* changed) {
  std::deque<std::u16string> appends;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    std::size_t from = std::min(starts[i], segment.size());
    std::size_t to =
        i + 1 < starts.size() ? std::min(starts[i + 1], segment.size()) : segment.size();
    appends.push_back(segment.substr(from, to - from));
  }
  *changed = false;
  std::u16string kept;                // markup known to be fine, and escaped appends
  std::vector<std::u16string> group;  // appends that have not closed what they opened yet
  auto stream = std::make_unique<MarkupStream>(kept);
  // The first append of the open group is the one to blame (the failing append itself when
  // no group was open): it is escaped and the appends after it are looked at again.
  auto blameFirst = [&] {
    kept += EscapeAsText(group.front());
    appends.insert(appends.begin(), group.begin() + 1, group.end());
    group.clear();
    *changed = true;
    stream = std::make_unique<MarkupStream>(kept);
  };
  while (!appends.empty()) {
    std::u16string piece = std::move(appends.front());
    appends.pop_front();
    bool fed = stream->Feed(Utf8(piece));
    group.push_back(std::move(piece));
    if (!fed) {
      blameFirst();
      continue;
    }
    if (stream->Open() == 0) {
      std::u16string joined;
      for (const std::u16string& part : group) {
        joined += part;
      }
      if (WellFormed(joined)) {
        kept += joined;
        group.clear();
        continue;
      }
    }
    if (appends.empty()) {
      blameFirst();
    }
  }
  return kept;
}
