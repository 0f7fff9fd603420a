// Stream compression on arbitrary bytes. The first byte seeds the chunk sizes; with its top
// bit clear the rest is received compressed data, inflated chunk by chunk as the receive loop
// does, and every chunk's text must stay within the limit. With the top bit set the rest is
// sent text: deflated chunk by chunk and inflated again, it must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xmpp/zlib_stream.h"

namespace {

constexpr size_t kLimit = 64 * 1024;  // the same checks as the real limit, at fuzzing sizes

size_t next_chunk(uint32_t* seed, size_t left) {
  *seed = *seed * 1103515245u + 12345u;
  size_t chunk = *seed % 4 == 0 ? left : 1 + (*seed >> 16) % 64;
  return chunk < left ? chunk : left;
}

// Inflates one chunk into `text`; false when the stream ends.
bool receive(z_stream* in, int* in_ready, const char* data, size_t length, std::string* text) {
  char* out = nullptr;
  size_t out_length = 0;
  int result = zlib_inflate_chunk(in, in_ready, data, length, kLimit, &out, &out_length);
  if (result != ZLIB_OK) {
    if (out || out_length != 0 || (result != ZLIB_ERROR && result != ZLIB_TOO_LARGE))
      std::abort();
    return false;
  }
  if (!out || out_length > kLimit || out[out_length] != '\0')
    std::abort();
  text->append(out, out_length);
  std::free(out);
  return true;
}

void round_trip(uint32_t seed, const char* data, size_t size) {
  z_stream out{}, in{};
  int out_ready = 0, in_ready = 0;
  std::string text;
  for (size_t at = 0; at < size;) {
    size_t chunk = next_chunk(&seed, size - at);
    char* packed = nullptr;
    size_t packed_length = 0;
    if (zlib_deflate_text(&out, &out_ready, data + at, chunk, &packed, &packed_length) != ZLIB_OK)
      std::abort();
    bool ok = receive(&in, &in_ready, packed, packed_length, &text);
    std::free(packed);
    // A sent chunk is no longer than the input, far below the limit: it comes back whole.
    if (!ok || text.size() != at + chunk || std::memcmp(text.data(), data, at + chunk) != 0)
      std::abort();
    at += chunk;
  }
  zlib_end_deflate(&out, &out_ready);
  zlib_end_inflate(&in, &in_ready);
}

void inflate_only(uint32_t seed, const char* data, size_t size) {
  z_stream in{};
  int in_ready = 0;
  for (size_t at = 0; at < size;) {
    size_t chunk = next_chunk(&seed, size - at);
    std::string text;
    if (!receive(&in, &in_ready, data + at, chunk, &text))
      break;
    at += chunk;
  }
  zlib_end_inflate(&in, &in_ready);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  const char* rest = reinterpret_cast<const char*>(data + 1);
  if (data[0] & 0x80)
    round_trip(data[0], rest, size - 1);
  else
    inflate_only(data[0], rest, size - 1);
  return 0;
}
