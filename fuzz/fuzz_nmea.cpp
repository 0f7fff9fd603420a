// Receiver text in chunks (the first byte picks the chunk size): every sentence handed over is
// bounded, and every position read from one is a valid, consistently formatted position.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "location/location_store.h"
#include "location/nmea.h"

namespace {

void CheckSentence(std::string_view sentence) {
  if (sentence.empty() || sentence[0] != '$' || sentence.size() > kMaxSentenceLength + 1) {
    std::abort();
  }
  GgaFix fix;
  if (ParseGga(sentence.data(), sentence.size(), &fix) != GgaResult::kFix) {
    return;
  }
  char text[48];
  std::snprintf(text, sizeof text, "%.6f", fix.latitude);
  if (!IsValidLocation(fix.latitude, fix.longitude) ||
      std::strcmp(text, fix.latText.c_str()) != 0) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  std::size_t chunk = data[0] % 16 + 1;
  const char* text = reinterpret_cast<const char*>(data + 1);
  std::size_t length = size - 1;
  MNmeaAssembler assembler;
  for (std::size_t at = 0; at < length; at += chunk) {
    std::size_t count = length - at < chunk ? length - at : chunk;
    assembler.Feed(text + at, count,
                   [](std::string_view sentence, bool) { CheckSentence(sentence); });
    if (assembler.Pending().size() > kMaxSentenceLength) {
      std::abort();
    }
  }
  return 0;
}
