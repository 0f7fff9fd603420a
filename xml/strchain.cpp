#include "xml/strchain.h"

#include <cstdarg>
#include <cstring>

strchain* strchain_new(pool* p) {
  auto* chain = static_cast<strchain*>(pmalloc_fill(p, sizeof(strchain), 0));
  chain->pool = p;
  return chain;
}

void strchain_add(strchain* chain, const char* text) {
  if (!chain || !text || !*text)
    return;
  size_t length = std::strlen(text);
  auto* seg = static_cast<strchain_seg*>(pmalloc(chain->pool, sizeof(strchain_seg)));
  seg->text = pool_strndup(chain->pool, text, length);
  seg->next = nullptr;
  if (chain->last)
    chain->last->next = seg;
  else
    chain->first = seg;
  chain->last = seg;
  chain->length += static_cast<int>(length);
}

void strchain_addv(strchain* chain, ...) {
  va_list args;
  va_start(args, chain);
  for (;;) {
    const void* arg = va_arg(args, const void*);
    if (arg == chain)
      break;
    strchain_add(chain, static_cast<const char*>(arg));
  }
  va_end(args);
}

char* strchain_join(strchain* chain) {
  if (!chain || chain->length <= 0 || !chain->first)
    return nullptr;
  auto* out = static_cast<char*>(pmalloc(chain->pool, static_cast<size_t>(chain->length) + 1));
  char* at = out;
  for (strchain_seg* seg = chain->first; seg; seg = seg->next) {
    size_t length = std::strlen(seg->text);
    std::memcpy(at, seg->text, length);
    at += length;
  }
  *at = '\0';
  return out;
}
