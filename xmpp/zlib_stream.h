// Stream compression (XEP-0138) for one direction each: every received chunk is inflated and
// every sent text deflated with Z_SYNC_FLUSH, so each is complete on its own. A stream is
// initialised on first use and ended when the connection closes.
#pragma once

#include <zlib.h>

#include <cstddef>

// The most one received chunk may inflate to. Deflate cannot expand 4047 bytes beyond about
// 4.2 MB, but a server that sends data meant to balloon is refused well before memory is at
// risk: the connection ends.
constexpr size_t ZLIB_MAX_INFLATED = 4 * 1024 * 1024;

enum { ZLIB_OK = 0, ZLIB_ERROR = -1, ZLIB_TOO_LARGE = -2 };

// Inflates `length` bytes into a NUL-terminated heap text (*out, free with free()) of
// *out_length bytes. The first output buffer is 40 times the input and grows while input
// remains. ZLIB_ERROR for corrupt data, ZLIB_TOO_LARGE past `limit` bytes.
int zlib_inflate_chunk(z_stream* stream, int* initialised, const char* data, size_t length,
                       size_t limit, char** out, size_t* out_length);
// Deflates `length` bytes at level 9 into a heap buffer (*out) of *out_length bytes; the
// buffer starts at 1.2 times the input (plus 14 bytes for short texts) and grows as needed.
int zlib_deflate_text(z_stream* stream, int* initialised, const char* data, size_t length,
                      char** out, size_t* out_length);
// Ends an initialised stream.
void zlib_end_inflate(z_stream* stream, int* initialised);
void zlib_end_deflate(z_stream* stream, int* initialised);
