// The view's markup cut into blocks at its top level: each block but the last ends with the end
// tag (or empty-element tag) of an element that is not inside another. Such a block can be
// parsed and laid out on its own from the state the blocks before it leave, with exactly the
// result a parse of the whole gives, so a long history is laid out block by block, the visible
// ones first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The ends of the blocks of content[from..): offsets just past each top-level end tag, and
// content.size() last when anything follows the last one (text, or an element not closed yet).
// Markup the scanner cannot follow (an end tag with nothing open, an unterminated tag, comment
// or CDATA section) makes the rest one block; the parse of that block then tells what is wrong.
// Whether content[begin, end) holds a BR or P start tag (written in any case). After one the pen
// is at the start of a line with no extra height, whatever came before the block.
bool HasLineBreakTag(const std::u16string& content, std::uint32_t begin, std::uint32_t end);

std::vector<std::uint32_t> SplitHtmlBlocks(const std::u16string& content, std::uint32_t from,
                                           bool* closed);
