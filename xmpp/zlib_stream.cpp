#include "xmpp/zlib_stream.h"

#include <cstdlib>
#include <cstring>

namespace {

bool grow(char** buffer, size_t* capacity, size_t limit) {
  size_t bigger = *capacity * 2;
  if (bigger > limit + 1)
    bigger = limit + 1;
  if (bigger <= *capacity)
    return false;
  char* grown = static_cast<char*>(std::realloc(*buffer, bigger));
  if (!grown)
    return false;
  *buffer = grown;
  *capacity = bigger;
  return true;
}

}  // namespace

int zlib_inflate_chunk(z_stream* stream, int* initialised, const char* data, size_t length,
                       size_t limit, char** out, size_t* out_length) {
  *out = nullptr;
  *out_length = 0;
  if (!*initialised) {
    std::memset(stream, 0, sizeof *stream);
    if (inflateInit(stream) != Z_OK)
      return ZLIB_ERROR;
    *initialised = 1;
  }
  size_t capacity = length * 40 + 1;
  if (capacity > limit + 1)
    capacity = limit + 1;
  char* buffer = static_cast<char*>(std::malloc(capacity));
  if (!buffer)
    return ZLIB_ERROR;
  stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
  stream->avail_in = static_cast<uInt>(length);
  size_t used = 0;
  for (;;) {
    // One byte is kept back for the terminating NUL.
    stream->next_out = reinterpret_cast<Bytef*>(buffer + used);
    stream->avail_out = static_cast<uInt>(capacity - 1 - used);
    int result = inflate(stream, Z_SYNC_FLUSH);
    used = capacity - 1 - stream->avail_out;
    if (result != Z_OK && result != Z_BUF_ERROR && result != Z_STREAM_END) {
      std::free(buffer);
      return ZLIB_ERROR;
    }
    bool input_left = stream->avail_in > 0;
    bool output_full = stream->avail_out == 0;
    if (!input_left && !output_full)
      break;
    if (result == Z_STREAM_END && input_left) {
      // Bytes behind the end of the compressed stream could never be read: the connection
      // would stay open and deaf, so the data counts as corrupt and the stream ends.
      std::free(buffer);
      return ZLIB_ERROR;
    }
    if (result == Z_STREAM_END && !output_full)
      break;
    if (used >= limit || !grow(&buffer, &capacity, limit)) {
      std::free(buffer);
      return used >= limit ? ZLIB_TOO_LARGE : ZLIB_ERROR;
    }
  }
  buffer[used] = '\0';
  *out = buffer;
  *out_length = used;
  return ZLIB_OK;
}

int zlib_deflate_text(z_stream* stream, int* initialised, const char* data, size_t length,
                      char** out, size_t* out_length) {
  *out = nullptr;
  *out_length = 0;
  if (!*initialised) {
    std::memset(stream, 0, sizeof *stream);
    if (deflateInit(stream, 9) != Z_OK)
      return ZLIB_ERROR;
    *initialised = 1;
  }
  size_t capacity = length + length / 5;
  if (capacity < 10)
    capacity += 14;
  char* buffer = static_cast<char*>(std::malloc(capacity));
  if (!buffer)
    return ZLIB_ERROR;
  stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
  stream->avail_in = static_cast<uInt>(length);
  size_t used = 0;
  for (;;) {
    stream->next_out = reinterpret_cast<Bytef*>(buffer + used);
    stream->avail_out = static_cast<uInt>(capacity - used);
    int result = deflate(stream, Z_SYNC_FLUSH);
    used = capacity - stream->avail_out;
    if (result != Z_OK && result != Z_BUF_ERROR) {
      std::free(buffer);
      return ZLIB_ERROR;
    }
    // Deflate is finished with a flush only when it left output space unused.
    if (stream->avail_in == 0 && stream->avail_out != 0)
      break;
    char* grown = static_cast<char*>(std::realloc(buffer, capacity * 2));
    if (!grown) {
      std::free(buffer);
      return ZLIB_ERROR;
    }
    buffer = grown;
    capacity *= 2;
  }
  *out = buffer;
  *out_length = used;
  return ZLIB_OK;
}

void zlib_end_inflate(z_stream* stream, int* initialised) {
  if (*initialised)
    inflateEnd(stream);
  *initialised = 0;
}

void zlib_end_deflate(z_stream* stream, int* initialised) {
  if (*initialised)
    deflateEnd(stream);
  *initialised = 0;
}
