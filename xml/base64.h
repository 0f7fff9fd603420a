// Base64 with the standard alphabet and '=' padding, in two forms: the MIME form with a CR LF
// after every 76 output characters (also when nothing follows them), and one unbroken line
// (what SASL needs: XMPP servers refuse line breaks in an authentication payload).
#pragma once

#include <cstddef>

#include "xml/pool.h"

// The encoding of `length` bytes as a NUL-terminated text from `p`, or from the general heap
// (the caller frees it) when `p` is null.
char* base64_encode(pool* p, const void* data, size_t length);
// The same encoding as one line without breaks.
char* base64_encode_line(pool* p, const void* data, size_t length);
