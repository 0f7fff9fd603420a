#include "app/command_line.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/hex_digit.h"

namespace {

std::uint32_t FindFrom(const mstring& text, char c, std::uint32_t pos) {
  return pos >= text.length() ? mstring::npos : text.find(c, pos);
}

// The end of a word that starts at `pos`: the next blank, or the end of the text.
std::uint32_t WordEnd(const mstring& text, std::uint32_t pos) {
  std::uint32_t blank = FindFrom(text, ' ', pos);
  return blank == mstring::npos ? text.length() : blank;
}

// %XX escapes decoded; false for a broken escape or a decoded control character.
bool PercentDecode(const std::string& text, std::string* out) {
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      int high = i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
      int low = high >= 0 ? HexDigitValue(text[i + 2]) : -1;
      if (low < 0)
        return false;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      return false;
    *out += c;
  }
  return true;
}

}  // namespace

bool IsXmppUri(const char* argument) {
  return strncasecmp(argument, "xmpp:", 5) == 0;
}

mstring XmppUriJid(const char* uri) {
  if (!IsXmppUri(uri))
    return mstring();
  std::string rest(uri + 5);
  // "xmpp://account/jid" names the account to use first: the conversation is with the jid.
  if (rest.rfind("//", 0) == 0) {
    size_t slash = rest.find('/', 2);
    rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
  }
  rest = rest.substr(0, rest.find_first_of("?#"));  // an action ("?message") or fragment
  std::string jid;
  if (!PercentDecode(rest, &jid) || jid.find_first_of(" \"") != std::string::npos)
    return mstring();
  return mstring(jid.c_str());
}

std::vector<mstring> CommandLineJids(const mstring& text) {
  std::vector<mstring> jids;
  std::uint32_t pos = FindFrom(text, '-', 0);
  while (pos != mstring::npos) {
    std::uint32_t nameStart = pos + 1;
    std::uint32_t nameEnd = WordEnd(text, nameStart);
    mstring name = text.substr(nameStart, nameEnd - nameStart);
    std::uint32_t resume = nameEnd;
    if (name == "cw") {
      std::uint32_t start;
      std::uint32_t end;
      std::uint32_t quote = FindFrom(text, '"', nameEnd);
      if (quote != mstring::npos) {
        start = quote + 1;
        std::uint32_t closing = FindFrom(text, '"', start);
        end = closing != mstring::npos ? closing : WordEnd(text, start);
      } else {
        start = nameEnd < text.length() ? nameEnd + 1 : nameEnd;
        end = WordEnd(text, start);
      }
      mstring value = text.substr(start, end > start ? end - start : 0);
      std::uint32_t scheme = value.find("xmpp:");
      if (scheme != mstring::npos) {
        value = value.substr(scheme + 5);
      }
      if (!value.empty()) {
        jids.push_back(value);
      }
      resume = end;
    }
    pos = FindFrom(text, '-', resume + (resume < text.length() ? 1 : 0));
  }
  return jids;
}

mstring JoinArguments(int argc, char** argv) {
  mstring line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      line += " ";
    }
    // The desktop hands over a clicked link as a bare argument ("orvik %u"); the value of
    // "-cw" stays as it is.
    bool optionValue = i > 1 && std::strcmp(argv[i - 1], "-cw") == 0;
    if (!optionValue && IsXmppUri(argv[i])) {
      mstring jid = XmppUriJid(argv[i]);
      if (jid.empty()) {
        std::fprintf(stderr, "orvik: not an XMPP address: %s\n", argv[i]);
      } else {
        line += mstring("-cw \"") + jid + "\"";
      }
      continue;
    }
    bool quote = argv[i][0] == '\0' || std::strchr(argv[i], ' ') != nullptr;
    line += quote ? mstring("\"") + argv[i] + "\"" : mstring(argv[i]);
  }
  return line;
}
