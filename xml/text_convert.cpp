#include "xml/text_convert.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void append_code_point(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes one UTF-8 sequence at `s` (of `left` bytes). Returns the bytes used (at least 1) and
// stores the unit(s) in `out`; a malformed sequence yields U+FFFD for its longest valid prefix.
std::size_t decode_one(const unsigned char* s, std::size_t left, std::u16string& out) {
  unsigned char lead = s[0];
  if (lead < 0x80) {
    out.push_back(lead);
    return 1;
  }
  std::size_t need;
  char32_t cp;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;  // no overlong three-byte forms
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;  // no overlong four-byte forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    out.push_back(kReplacement);
    return 1;
  }
  std::size_t used = 1;
  for (std::size_t i = 0; i < need; ++i, ++used) {
    if (used >= left || !is_continuation(s[used]) ||
        (i == 0 && (s[used] < low || s[used] > high))) {
      out.push_back(kReplacement);
      return used;
    }
    cp = (cp << 6) | (s[used] & 0x3F);
  }
  append_code_point(out, cp);
  return used;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool is_high_surrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

wmstring utf8_to_wide(const mstring& utf8) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.c_str());
  std::size_t size = utf8.length();
  std::u16string out;
  out.reserve(size);
  for (std::size_t i = 0; i < size;) {
    i += decode_one(s + i, size - i, out);
  }
  return wmstring(out.c_str(), static_cast<std::uint32_t>(out.size()));
}

mstring wide_to_utf8(const WCHAR* wide) {
  std::uint32_t count = wide_length(wide);
  std::string out;
  out.reserve(count + 1);
  for (std::uint32_t i = 0; i < count; ++i) {
    char32_t cp = wide[i];
    if (is_high_surrogate(wide[i]) && i + 1 < count && is_low_surrogate(wide[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (is_high_surrogate(wide[i]) || is_low_surrogate(wide[i])) {
      cp = kReplacement;  // half a pair is no character: UTF-8 has no encoding for it
    }
    append_utf8(out, cp);
  }
  return mstring(out.c_str(), static_cast<std::uint32_t>(out.size()));
}

mstring wide_to_utf8(const wmstring& wide) { return wide_to_utf8(wide.c_str()); }

wmstring mb_to_wide(const char* narrow) {
  std::u16string out;
  if (narrow) {
    std::mbstate_t state{};
    std::size_t left = std::strlen(narrow);
    const char* p = narrow;
    while (left > 0) {
      wchar_t wc = 0;
      std::size_t used = std::mbrtowc(&wc, p, left, &state);
      if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
          used == 0) {
        // Not decodable in this locale: keep the byte as the Latin-1 character of its value.
        out.push_back(static_cast<unsigned char>(*p));
        state = std::mbstate_t{};
        used = 1;
      } else {
        append_code_point(out, static_cast<char32_t>(wc));
      }
      p += used;
      left -= used;
    }
  }
  return wmstring(out.c_str(), static_cast<std::uint32_t>(out.size()));
}

mstring wide_to_mb(const WCHAR* wide) {
  std::string out;
  std::uint32_t count = wide_length(wide);
  std::mbstate_t state{};
  char bytes[MB_LEN_MAX];
  for (std::uint32_t i = 0; i < count; ++i) {
    char32_t cp = wide[i];
    bool high = cp >= 0xD800 && cp <= 0xDBFF;
    if (high && i + 1 < count && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      out.push_back('?');
      continue;
    }
    std::size_t made = std::wcrtomb(bytes, static_cast<wchar_t>(cp), &state);
    if (made == static_cast<std::size_t>(-1)) {
      out.push_back('?');
      state = std::mbstate_t{};
    } else {
      out.append(bytes, made);
    }
  }
  return mstring(out.c_str(), static_cast<std::uint32_t>(out.size()));
}
