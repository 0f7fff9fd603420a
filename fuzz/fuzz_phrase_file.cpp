// Phrase files in chunks (the first byte picks the chunk size): the parser never crashes, stays
// within its bounds, rejects a file with no phrases left over, and reads the same phrases
// however the bytes are split.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/phrase_file.h"

namespace {

bool Same(const PhraseList& a, const PhraseList& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!(a[i]->id == b[i]->id) || !(a[i]->text == b[i]->text) || a[i]->root != b[i]->root ||
        a[i]->rphraseids != b[i]->rphraseids) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  std::size_t chunk = data[0] % 16 + 1;
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  PhraseList whole;
  PhraseList split;
  bool wholeAccepted = ParsePhraseText(text, whole);
  bool splitAccepted = ParsePhraseText(text, split, chunk);
  if (wholeAccepted != splitAccepted || !Same(whole, split) ||
      whole.size() > kPhraseFileMaxPhrases || (!wholeAccepted && !whole.empty())) {
    std::abort();
  }
  for (const auto& phrase : whole) {
    for (const mstring& id : phrase->rphraseids) {
      if (id.empty() || id.find_first_of(" \t\r\n") != mstring::npos) {
        std::abort();
      }
    }
  }
  return 0;
}
