// Conversions between narrow and wide text.
//
// UTF-8 is the text of the stanzas; the windows show wide (UTF-16) text. Other narrow text
// (settings, file names) is in the process locale's multibyte encoding, as the handheld used
// its device code page.
#pragma once

#include "xml/mstring.h"
#include "xml/wmstring.h"

// Decodes UTF-8. A supplementary character becomes a surrogate pair; a surrogate half encoded
// by itself in three bytes becomes that half again; every malformed sequence becomes U+FFFD.
wmstring utf8_to_wide(const mstring& utf8);
// Encodes UTF-16 as UTF-8: a surrogate pair (an emoji) becomes one four-byte sequence, as the
// server and Expat require; a lone surrogate half becomes U+FFFD.
mstring wide_to_utf8(const WCHAR* wide);
mstring wide_to_utf8(const wmstring& wide);

// The process locale's multibyte conversion (setlocale). A byte that the locale cannot
// decode is taken as the Latin-1 character of that value, so nothing is lost.
wmstring mb_to_wide(const char* narrow);
// The reverse; a character the locale cannot encode becomes '?'.
mstring wide_to_mb(const WCHAR* wide);
