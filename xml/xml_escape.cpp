#include "xml/xml_escape.h"

#include <cstdlib>
#include <cstring>

namespace {

char* take(pool* p, size_t size) {
  if (p)
    return static_cast<char*>(pmalloc(p, size));
  return static_cast<char*>(std::malloc(size));
}

char* copy_of(pool* p, const char* text, size_t length) {
  char* out = take(p, length + 1);
  if (out) {
    std::memcpy(out, text, length);
    out[length] = '\0';
  }
  return out;
}

const char* entity_for(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '\'':
      return "&apos;";
    case '"':
      return "&quot;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return nullptr;
  }
}

struct Entity {
  const char* text;
  size_t length;
  char character;
};

constexpr Entity kEntities[] = {
    {"&amp;", 5, '&'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'},
};

}  // namespace

char* xml_escape(pool* p, const char* text) {
  if (!text)
    return nullptr;
  size_t length = 0;
  size_t extra = 0;
  for (const char* at = text; *at; ++at, ++length) {
    if (const char* entity = entity_for(*at))
      extra += std::strlen(entity) - 1;
  }
  if (extra == 0)
    return copy_of(p, text, length);
  char* out = take(p, length + extra + 1);
  if (!out)
    return nullptr;
  char* to = out;
  for (const char* at = text; *at; ++at) {
    if (const char* entity = entity_for(*at)) {
      size_t n = std::strlen(entity);
      std::memcpy(to, entity, n);
      to += n;
    } else {
      *to++ = *at;
    }
  }
  *to = '\0';
  return out;
}

char* xml_unescape(pool* p, const char* text) {
  if (!text)
    return nullptr;
  size_t length = std::strlen(text);
  if (!std::memchr(text, '&', length))
    return copy_of(p, text, length);
  // Unescaping never makes text longer.
  char* out = take(p, length + 1);
  if (!out)
    return nullptr;
  char* to = out;
  for (const char* at = text; *at;) {
    if (*at == '&') {
      const Entity* hit = nullptr;
      for (const Entity& e : kEntities) {
        if (std::strncmp(at, e.text, e.length) == 0) {
          hit = &e;
          break;
        }
      }
      if (hit) {
        *to++ = hit->character;
        at += hit->length;
        continue;
      }
    }
    *to++ = *at++;
  }
  *to = '\0';
  return out;
}
