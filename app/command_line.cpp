#include "app/command_line.h"

#include <cstring>

namespace {

std::uint32_t FindFrom(const mstring& text, char c, std::uint32_t pos) {
  return pos >= text.length() ? mstring::npos : text.find(c, pos);
}

// The end of a word that starts at `pos`: the next blank, or the end of the text.
std::uint32_t WordEnd(const mstring& text, std::uint32_t pos) {
  std::uint32_t blank = FindFrom(text, ' ', pos);
  return blank == mstring::npos ? text.length() : blank;
}

}  // namespace

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
    bool quote = argv[i][0] == '\0' || std::strchr(argv[i], ' ') != nullptr;
    line += quote ? mstring("\"") + argv[i] + "\"" : mstring(argv[i]);
  }
  return line;
}
