// When the view's markup does not parse, the appends that broke it are shown as their text
// instead, and everything that was fine stays markup: one bad line never costs the history.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Text as markup that shows it exactly: "&", "<" and ">" become entities (Expat hands each
// entity to the view as a piece of its own, so the view's second decoding leaves it alone),
// and characters XML cannot carry become U+FFFD.
std::u16string EscapeAsText(const std::u16string& text);

// `segment` is content appended since the last good layout, made of appends starting at
// `starts` (offsets into the segment, ascending, the first 0). A streaming parser takes the
// appends in order; a group of appends that closes what it opens and is well-formed on its own
// stays markup. When an append makes the parse fail, or a group is still open at the end, the
// group's first append (or the failing one when no group was open) is escaped and the appends
// after it are taken again. *changed tells whether anything was escaped.
std::u16string ShowMalformedAsText(const std::u16string& segment,
                                   const std::vector<std::size_t>& starts, bool* changed);
