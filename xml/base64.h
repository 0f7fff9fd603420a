// Base64 in the MIME form: standard alphabet, '=' padding, and a CR LF after every 76 output
// characters (also when nothing follows them).
#pragma once

#include <cstddef>

#include "xml/pool.h"

// The encoding of `length` bytes as a NUL-terminated text from `p`, or from the general heap
// (the caller frees it) when `p` is null.
char* base64_encode(pool* p, const void* data, size_t length);
