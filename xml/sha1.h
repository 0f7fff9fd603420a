// SHA-1 digests as 40 lower-case hexadecimal characters.
#pragma once

#include <cstddef>

constexpr size_t SHA1_HEX_SIZE = 41;  // 40 characters and the NUL

// The digest of `length` bytes of `data` into `out`. 0, or -1 when OpenSSL fails (out is "").
int sha1_hex(const void* data, size_t length, char out[SHA1_HEX_SIZE]);
// The digest of a NUL-terminated text (null counts as empty).
int sha1_hex_text(const char* text, char out[SHA1_HEX_SIZE]);
