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
  enum class Kind { Text, Image, Rule };
  Kind kind = Kind::Text;
  LONG x = 0;
  LONG top = 0;  // document y of the top of the line
  LONG width = 0;
  LONG height = 0;
  std::size_t font = 0;  // index into HtmlLayout::fonts
  COLORREF colour = 0;
  std::u16string text;  // a run's characters, or an image's ALT text
  int image = 0;        // resource id
  // Where the text starts in the laid-out text (every operation's text in document order),
  // and the explicit line breaks (BR, P, HR) between the previous text or image and this one.
  std::size_t textStart = 0;
  int breaks = 0;
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

struct HtmlLayout {
  bool valid = false;
  HtmlLayoutKey key;
  std::uint32_t contentLength = 0;  // characters of content laid out
  // The content laid out ended with a closed element at the top level, so more content can be
  // laid out from the end state exactly as a parse of the whole would.
  bool resumable = false;
  std::vector<HtmlOp> ops;
  std::size_t textLength = 0;   // characters of text in ops
  LONG tallest = 4;             // the greatest height of an operation
  std::vector<HtmlLink> links;  // document coordinates
  std::vector<LOGFONT> fonts;
  HtmlLayoutState endState;
  LOGFONT endFont{};
};
