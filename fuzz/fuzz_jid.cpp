// Address parsing on arbitrary text, checking what a valid address promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/jid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);  // stops at the first NUL
  pool* p = pool_create_with_heap(1024);
  jid* id = jid_new(p, text.c_str(), 5222);
  if (id) {
    size_t server = std::strlen(id->server);
    if (server < 1 || server > 255)
      std::abort();
    for (const char* c = id->server; *c; ++c) {
      if (*c >= 'A' && *c <= 'Z')
        std::abort();
    }
    if (id->user && std::strlen(id->user) > 64)
      std::abort();
    if (id->resource && !*id->resource)
      std::abort();
  }
  pool_destroy(p);
  return 0;
}
