// How typed and received text becomes chat history markup: protection, emoticons, links.
#include "ui/chat_format.h"

#include <string>
#include <string_view>

#include "ui/emoticons.h"

namespace {

constexpr std::u16string_view kOpen = u"<![CDATA[";
constexpr std::u16string_view kClose = u"]]>";
constexpr std::u16string_view kProtectedAmpersand = u"<![CDATA[&]]>";

// The characters a web address is made of in chat text.
constexpr std::u16string_view kUrlCharacters =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_.!~*(){};/?:@&=+$,#%";

// Characters XML may not carry at all: the view's parser would reject the whole history.
bool IsForbiddenInXml(char16_t c) {
  return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

std::u16string_view View(const wmstring& text) {
  return std::u16string_view(text.c_str(), text.length());
}

wmstring ToWide(const std::u16string& text) {
  return wmstring(text.c_str(), static_cast<std::uint32_t>(text.size()));
}

// Where the address starting at `start` ends: the first character that is not part of an
// address; a protected "&" counts as one address character.
std::size_t UrlEnd(std::u16string_view text, std::size_t start) {
  std::size_t at = start;
  while (at < text.size()) {
    if (text.substr(at).starts_with(kProtectedAmpersand)) {
      at += kProtectedAmpersand.size();
    } else if (kUrlCharacters.find(text[at]) != std::u16string_view::npos) {
      ++at;
    } else {
      break;
    }
  }
  return at;
}

// The next address from `from`: the earliest "http:" or "https:"; "www." only when neither
// follows.
std::size_t NextUrl(std::u16string_view text, std::size_t from) {
  std::size_t http = text.find(u"http:", from);
  std::size_t https = text.find(u"https:", from);
  std::size_t found = std::min(http, https);
  return found != std::u16string_view::npos ? found : text.find(u"www.", from);
}

// The link target of an address as it stands in the markup: "&" back to itself (written as
// "&amp;" for the attribute), "http://" in front of a bare "www." address.
std::u16string LinkTarget(std::u16string_view url) {
  std::u16string target;
  if (url.find(u"http:") == std::u16string_view::npos &&
      url.find(u"https:") == std::u16string_view::npos) {
    target = u"http://";
  }
  for (std::size_t at = 0; at < url.size();) {
    if (url.substr(at).starts_with(kProtectedAmpersand)) {
      target += u"&amp;";
      at += kProtectedAmpersand.size();
    } else {
      target += url[at++];
    }
  }
  return target;
}

wmstring Link(const wmstring& text) {
  std::u16string_view view = View(text);
  std::u16string out;
  out.reserve(view.size());
  std::size_t at = 0;
  while (at < view.size()) {
    std::size_t start = NextUrl(view, at);
    if (start == std::u16string_view::npos) {
      break;
    }
    std::size_t end = UrlEnd(view, start);
    std::u16string_view url = view.substr(start, end - start);
    out.append(view.substr(at, start - at));
    out += u"<A HREF='";
    out += LinkTarget(url);
    out += u"'>";
    out.append(url);
    out += u"</A>";
    at = end;
  }
  out.append(view.substr(std::min(at, view.size())));
  return ToWide(out);
}

// Appends one character of text as markup that shows it.
void ProtectCharacter(char16_t c, std::u16string* out) {
  if (c == u'<' || c == u'>' || c == u'&') {
    out->append(kOpen);
    *out += c;
    out->append(kClose);
  } else if (IsForbiddenInXml(c)) {
    *out += u'\uFFFD';
  } else {
    *out += c;
  }
}

}  // namespace

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != *prefix) {
      return false;
    }
  }
  return true;
}

// One pass over the text: each bracket and ampersand is wrapped where it stands, so nothing
// inserted is looked at again, and no text the user typed can turn into a section marker.
wmstring ProtectMarkup(const wmstring& text) {
  std::u16string out;
  out.reserve(text.length());
  for (char16_t c : View(text)) {
    ProtectCharacter(c, &out);
  }
  return ToWide(out);
}

// Emoticons are found in the text as typed, before protection: an emoticon must never take
// part of a protected character's section (">:)" after a protected "&" ends in "]]>:)", and
// replacing that ">:)" broke the section and showed the whole line as markup).
wmstring FormatChatText(const wmstring& text, bool emoticons) {
  if (!emoticons) {
    return Link(ProtectMarkup(text));
  }
  MarkedText marked = ReplaceEmoticonsMarked(text);
  std::u16string out;
  out.reserve(marked.text.size());
  for (std::size_t i = 0; i < marked.text.size(); ++i) {
    if (marked.inserted[i]) {
      out += marked.text[i];
    } else {
      ProtectCharacter(marked.text[i], &out);
    }
  }
  return Link(ToWide(out));
}

bool IsOpenableLink(const char* target) {
  if (target == nullptr) {
    return false;
  }
  return StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://") ||
         StartsWithNoCase(target, "xmpp:");
}
