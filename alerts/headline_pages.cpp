#include "alerts/headline_pages.h"

#include <cstdio>
#include <string>

#include "ui/chat_format.h"
#include "ui/html_entities.h"
#include "xml/text_convert.h"

namespace {

constexpr const char* kPagePrefix = "source:";

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// Pages are built in a growable string: a source may hold a thousand headlines.
using Page = std::u16string;

void Add(Page& page, const wmstring& text) {
  page.append(text.c_str(), text.length());
}

// Network text as page text: shown exactly as received.
void AddText(Page& page, const wmstring& text) {
  Add(page, ProtectMarkup(text));
}

// A value inside a double-quoted attribute.
void AddAttribute(Page& page, const mstring& value) {
  page += EncodeEntities(utf8_to_wide(value).c_str());
}

void AddNote(Page& page, const char* format, std::size_t count) {
  char line[128];
  std::snprintf(line, sizeof line, format, count);
  Add(page, utf8_to_wide(mstring(line)));
}

void AddNavigation(Page& page) {
  Add(page, utf8_to_wide(mstring(kHeadlineNavigationBar)));
}

wmstring Finish(const Page& page) {
  return wmstring(page.c_str(), static_cast<std::uint32_t>(page.size()));
}

// A web link is a link; any other address is shown as text under the title and opens nothing.
void AddEntry(Page& page, const Headline& headline) {
  wmstring url = utf8_to_wide(headline.url);
  if (IsWebAddress(headline.url)) {
    page += u"<P><A HREF = \"";
    AddAttribute(page, headline.url);
    page += u"\">";
    AddText(page, headline.title.empty() ? url : headline.title);
    page += u"</A></P>";
  } else {
    page += u"<P>";
    AddText(page, headline.title);
    page += u"</P>";
    if (!url.empty()) {
      page += u"<P>";
      AddText(page, url);
      page += u"</P>";
    }
  }
  page += u"<P>";
  AddText(page, headline.description);
  page += u"</P>";
}

}  // namespace

mstring HeadlinePageName(const wmstring& source) {
  mstring utf8 = wide_to_utf8(source);
  std::string name = kPagePrefix;
  for (const char* p = utf8.c_str(); *p != '\0'; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (IsUnreserved(c)) {
      name += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      name += escaped;
    }
  }
  return mstring(name.c_str());
}

bool IsWebAddress(const mstring& url) {
  return StartsWithNoCase(url.c_str(), "http:") || StartsWithNoCase(url.c_str(), "https:");
}

wmstring HeadlineIndexPage(const MHeadlineStore& store) {
  Page page;
  AddNavigation(page);
  page += u"<P><CENTER><B>News Sources</B></CENTER></P>";
  if (store.Sources().empty()) {
    page += u"<P><CENTER>No headlines have been received.</CENTER></P>";
  }
  for (const auto& [name, source] : store.Sources()) {
    page += u"<b><P><A HREF = \"";
    AddAttribute(page, HeadlinePageName(name));
    page += u"\">";
    AddText(page, name);
    page += u"</A></P></b>";
  }
  if (store.DroppedSources() != 0) {
    AddNote(page, "<P><CENTER>%zu older sources were dropped.</CENTER></P>",
            store.DroppedSources());
  }
  AddNavigation(page);
  return Finish(page);
}

wmstring HeadlineSourcePage(const MHeadlineStore::Source& source) {
  Page page;
  AddNavigation(page);
  if (source.dropped != 0) {
    AddNote(page, "<P><CENTER>%zu older headlines were dropped.</CENTER></P>", source.dropped);
  }
  for (const Headline& headline : source.headlines) {
    AddEntry(page, headline);
  }
  AddNavigation(page);
  return Finish(page);
}
