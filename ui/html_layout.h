// The laid-out content of an HTML view: what to draw where, in document coordinates (y grows
// down from the top of the content), and the links, kept between paints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "xml/mstring.h"

struct HtmlLink {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
  mstring target;
};

struct HtmlOp {
  enum class Kind : std::uint8_t { Text, Image, Rule };
  std::u16string text;  // a run's characters, or an image's ALT text
  // Where the text starts in the laid-out text (every operation's text in document order).
  std::size_t textStart = 0;
  LONG x = 0;
  LONG top = 0;  // document y of the top of the line
  LONG width = 0;
  LONG height = 0;
  std::uint32_t font = 0;  // index into HtmlLayout::fonts
  COLORREF colour = 0;
  int image = 0;  // resource id
  // The explicit line breaks (BR, P, HR) between the previous text or image and this one.
  int breaks = 0;
  Kind kind = Kind::Text;
};

// Where the pen is and what is open while laying out; kept after a layout, as the view always
// kept it (the colour stack in particular carries over to the next paint).
struct HtmlLayoutState {
  double alignment = 0.0;
  LONG penX = 0;
  LONG penY = 0;
  LONG extra = 0;
  mstring linkTarget;
  std::vector<COLORREF> colours;
  int breaks = 0;  // explicit line breaks since the last text or image
};

// What a layout depends on besides the content.
struct HtmlLayoutKey {
  LONG width = -1;
  LONG lineHeight = -1;
  LOGFONT font{};  // the window's font when the layout began
  std::vector<COLORREF> colours;
  bool operator==(const HtmlLayoutKey& other) const;
};

// One block of the content (html_blocks.h) and its layout. A block is laid out from a pen at
// y 0; its operations and links keep block coordinates and are placed at the block's top.
struct HtmlBlock {
  std::uint32_t begin = 0;  // the block's characters of content
  std::uint32_t end = 0;
  bool measured = false;      // laid out at the layout's key; else `height` is an estimate
  bool leadingBreak = false;  // it begins with BR or P: the pen before it only moves it down
  bool textKnown = false;     // textLength holds (it does not depend on the width or font)
  bool hasBreak = false;      // it holds a BR or P: its end does not depend on the pen before it
  // The pen it was laid out from, and its pen x and extra height at the end, are those a layout
  // of the whole gives (as far as the blocks before it could tell).
  bool entryKnown = false;
  bool exitKnown = false;
  LONG entryX = 0;  // the pen it was laid out from
  LONG entryExtra = 0;
  int entryBreaks = 0;
  LONG shift = 0;   // extra height before a leading break, added when it was laid out without
  LONG height = 0;  // pen y at its end, or the estimate
  std::size_t textLength = 0;
  std::vector<HtmlOp> ops;  // textStart counts from the block's first character of text
  std::vector<HtmlLink> links;
  HtmlLayoutState exit;        // the state it leaves (pen y in block coordinates)
  std::uint32_t exitFont = 0;  // the font it leaves selected: index into HtmlLayout::fonts
};

// A place in the document by block, so that it stays put when blocks above are laid out.
struct HtmlAnchor {
  std::size_t block = 0;
  LONG within = 0;  // rows into the block, or the offset itself when not by block
  bool byBlock = false;
};

struct HtmlLayout {
  bool valid = false;
  HtmlLayoutKey key;
  std::uint32_t contentLength = 0;  // characters of content cut into blocks
  // The last block ends at a top-level end tag, so content appended later makes new blocks.
  bool resumable = false;
  std::vector<HtmlBlock> blocks;
  // Blocks [0, exact) are laid out from the state the blocks before them leave: what a layout
  // of the whole gives. Later measured blocks were laid out from a guessed state.
  std::size_t exact = 0;
  LONG tallest = 4;  // the greatest height of an operation
  std::vector<LOGFONT> fonts;
  // Lines per character of the measured blocks, for the estimates.
  std::uint64_t measuredChars = 0;
  std::uint64_t measuredLines = 0;
  // Document top (placed at the block's top plus its shift) and first character of text of
  // each block, and the totals last; from block `placedFrom` on they are to be recomputed.
  std::vector<LONG> tops;
  std::vector<std::size_t> textStarts;
  std::size_t placedFrom = 0;
  // The whole layout in document coordinates, built when asked for (LayoutOps, Links).
  std::vector<HtmlOp> flatOps;
  std::vector<HtmlLink> flatLinks;
};
