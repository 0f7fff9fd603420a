#include "xml/jid.h"

#include <cstring>

namespace {

constexpr size_t kMaxServer = 255;
constexpr size_t kMaxUser = 64;

// Decimal conversion as atoi does it (leading blanks, a sign, the leading digits), but
// saturating instead of overflowing on hostile input.
int32_t parse_port(const char* text) {
  while (*text == ' ' || *text == '\t')
    ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+')
    ++text;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT32_MAX)
      value = INT32_MAX;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

bool server_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool user_byte(unsigned char c) {
  return c > 32 && c < 128 && !std::strchr(":@<>'\"&", c);
}

}  // namespace

jid* jid_new(pool* p, const char* text, int default_port) {
  if (!p || !text || !*text)
    return nullptr;
  auto* id = static_cast<jid*>(pmalloc_fill(p, sizeof(jid), 0));
  id->pool = p;
  char* copy = pool_strdup(p, text);

  if (char* slash = std::strchr(copy, '/')) {
    *slash = '\0';
    if (slash[1])
      id->resource = slash + 1;
  }
  id->port = default_port;
  if (char* colon = std::strrchr(copy, ':')) {
    *colon = '\0';
    id->port = parse_port(colon + 1);
  }
  // The port is already cut off, so any '@' left lies before it.
  char* at = std::strchr(copy, '@');
  if (!at) {
    id->server = id->host = copy;
  } else {
    *at = '\0';
    if (*copy)
      id->user = copy;
    id->server = id->host = at + 1;
    if (char* second = std::strchr(at + 1, '@')) {
      *second = '\0';
      id->host = second + 1;
    }
  }
  return jid_validate(id);
}

jid* jid_validate(jid* id) {
  if (!id || !id->server)
    return nullptr;
  size_t length = std::strlen(id->server);
  if (length < 1 || length > kMaxServer)
    return nullptr;
  for (char* c = id->server; *c; ++c) {
    if (*c >= 'A' && *c <= 'Z')
      *c = static_cast<char>(*c - 'A' + 'a');
    if (!server_char(*c))
      return nullptr;
  }
  if (id->user) {
    if (std::strlen(id->user) > kMaxUser)
      id->user[kMaxUser] = '\0';
    for (const char* c = id->user; *c; ++c) {
      if (!user_byte(static_cast<unsigned char>(*c)))
        return nullptr;
    }
  }
  return id;
}
