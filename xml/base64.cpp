#include "xml/base64.h"

#include <cstdlib>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kLineLength = 76;

// `line_length` 0: no line breaks at all.
char* encode(pool* p, const void* data, size_t length, size_t line_length) {
  size_t characters = (length + 2) / 3 * 4;
  size_t breaks = line_length ? characters / line_length : 0;
  size_t size = characters + breaks * 2 + 1;
  char* out = static_cast<char*>(p ? pmalloc(p, size) : std::malloc(size));
  if (!out)
    return nullptr;
  const auto* in = static_cast<const unsigned char*>(data);
  char* to = out;
  size_t line = 0;
  for (size_t i = 0; i < length; i += 3) {
    unsigned value = in[i] << 16;
    if (i + 1 < length)
      value |= in[i + 1] << 8;
    if (i + 2 < length)
      value |= in[i + 2];
    *to++ = kAlphabet[(value >> 18) & 63];
    *to++ = kAlphabet[(value >> 12) & 63];
    *to++ = i + 1 < length ? kAlphabet[(value >> 6) & 63] : '=';
    *to++ = i + 2 < length ? kAlphabet[value & 63] : '=';
    line += 4;
    if (line == line_length) {
      *to++ = '\r';
      *to++ = '\n';
      line = 0;
    }
  }
  *to = '\0';
  return out;
}

}  // namespace

char* base64_encode(pool* p, const void* data, size_t length) {
  return encode(p, data, length, kLineLength);
}

char* base64_encode_line(pool* p, const void* data, size_t length) {
  return encode(p, data, length, 0);
}
