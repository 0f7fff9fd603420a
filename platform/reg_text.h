// Text helpers of the registry store: UTF-8 <-> UTF-16 conversion and the ASCII-only case
// folding that key paths and value names compare with.
#pragma once

#include <string>
#include <string_view>

namespace reg {

// Decodes strict UTF-8 (no overlong forms, no encoded surrogates, nothing above U+10FFFF);
// false when `in` is not valid UTF-8.
bool Utf8ToUtf16(std::string_view in, std::u16string* out);
// Encodes UTF-16 as UTF-8, combining surrogate pairs; a lone surrogate becomes U+FFFD (callers
// that must keep the exact units check HasLoneSurrogate first).
std::string Utf16ToUtf8(std::u16string_view in);
bool HasLoneSurrogate(std::u16string_view text);
// True when every unit is allowed inside one "..." of the file: no control characters (they
// would break the line structure) and no lone surrogates (UTF-8 cannot hold them).
bool IsQuotable(std::u16string_view text);

// `text` with ASCII capitals made small: a key for maps that ignore ASCII case.
std::u16string FoldAsciiCase(std::u16string_view text);
bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);
bool StartsWithIgnoreAsciiCase(std::u16string_view text, std::u16string_view prefix);

}  // namespace reg
