// The registry file reader on arbitrary text. Whatever it keeps must survive the writer: the
// canonical text written for the parsed tree must parse back to the very same tree, or a
// save would silently change or drop settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/reg_file.h"

namespace {

bool same_tree(const reg::Tree& a, const reg::Tree& b) {
  if (a.keys.size() != b.keys.size())
    return false;
  for (size_t k = 0; k < a.keys.size(); ++k) {
    const reg::Key& x = a.keys[k];
    const reg::Key& y = b.keys[k];
    if (x.path != y.path || x.values.size() != y.values.size())
      return false;
    for (size_t v = 0; v < x.values.size(); ++v) {
      const reg::Value& p = x.values[v];
      const reg::Value& q = y.values[v];
      if (p.name != q.name || p.type != q.type || p.data != q.data)
        return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  reg::Tree first;
  reg::ParseRegText(std::string_view(reinterpret_cast<const char*>(data), size), &first);
  reg::Tree second;
  reg::ParseRegText(reg::FormatRegText(first), &second);
  if (!same_tree(first, second))
    __builtin_trap();
  return 0;
}
