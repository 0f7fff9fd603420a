#include "xml/field_copy.h"

#include <cstring>

void field_clear(field_buf out) {
  if (out.text && out.size > 0)
    out.text[0] = '\0';
}

void field_copy(field_buf out, const char* text) {
  if (!out.text || out.size == 0)
    return;
  if (!text)
    text = "";
  size_t length = std::strlen(text);
  if (length >= out.size) {
    length = out.size - 1;
    // Never leave half of a multi-byte character at the end.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
      --length;
  }
  std::memcpy(out.text, text, length);
  out.text[length] = '\0';
}
