#include "platform/reg_text.h"

namespace reg {
namespace {

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
}

// Number of continuation bytes and the smallest code point allowed for a lead byte, so
// overlong forms are refused; -1 for a byte that cannot start a sequence.
int SequenceLength(unsigned char lead, char32_t* value, char32_t* minimum) {
  if (lead < 0x80) {
    *value = lead;
    *minimum = 0;
    return 0;
  }
  if ((lead & 0xE0) == 0xC0) {
    *value = lead & 0x1F;
    *minimum = 0x80;
    return 1;
  }
  if ((lead & 0xF0) == 0xE0) {
    *value = lead & 0x0F;
    *minimum = 0x800;
    return 2;
  }
  if ((lead & 0xF8) == 0xF0) {
    *value = lead & 0x07;
    *minimum = 0x10000;
    return 3;
  }
  return -1;
}

void AppendUtf16(char32_t code, std::u16string* out) {
  if (code < 0x10000) {
    out->push_back(static_cast<char16_t>(code));
    return;
  }
  code -= 0x10000;
  out->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
  out->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

bool Utf8ToUtf16(std::string_view in, std::u16string* out) {
  out->clear();
  size_t i = 0;
  while (i < in.size()) {
    char32_t code = 0;
    char32_t minimum = 0;
    int more = SequenceLength(static_cast<unsigned char>(in[i++]), &code, &minimum);
    if (more < 0 || in.size() - i < static_cast<size_t>(more)) {
      return false;
    }
    for (int k = 0; k < more; ++k) {
      unsigned char next = static_cast<unsigned char>(in[i++]);
      if ((next & 0xC0) != 0x80) {
        return false;
      }
      code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || IsHighSurrogate(code) || IsLowSurrogate(code)) {
      return false;
    }
    AppendUtf16(code, out);
  }
  return true;
}

std::string Utf16ToUtf8(std::u16string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t code = in[i];
    if (IsHighSurrogate(code) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
      code = 0xFFFD;
    }
    AppendUtf8(code, &out);
  }
  return out;
}

bool HasLoneSurrogate(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      return true;
    }
  }
  return false;
}

bool IsQuotable(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < 0x20 || c == 0x7F) {
      return false;
    }
  }
  return !HasLoneSurrogate(text);
}

std::u16string FoldAsciiCase(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) {
    c = FoldAscii(c);
  }
  return folded;
}

bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && StartsWithIgnoreAsciiCase(a, b);
}

bool StartsWithIgnoreAsciiCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAscii(text[i]) != FoldAscii(prefix[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace reg
