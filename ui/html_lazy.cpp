// MHtmlWnd's layout by blocks: which blocks a paint lays out, the estimates for the others,
// laying out the rest in slices posted to the UI thread, and checking that a block laid out
// before the blocks above it was laid out from the state they really leave.
//
// At a top-level boundary of well-formed markup every element is closed: the alignment is left,
// no link is open, the colour stack is the one the layout began with, and a window font of
// normal weight without underline is back as it was. Only the pen's x, the extra height of a
// tall image and the count of line breaks carry over. So a block is laid out ahead from pen x 0
// and no extra height, and it holds when the blocks above end there, or when it begins with a
// line break (then the extra height only moves it down, and the count of breaks goes to its
// first run). Otherwise it is laid out again when its turn comes.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "ui/html_blocks.h"
#include "ui/html_wnd.h"

namespace {

constexpr auto kSlice = std::chrono::milliseconds(8);

bool SameFont(const LOGFONT& a, const LOGFONT& b) {
  return std::memcmp(&a, &b, sizeof(LOGFONT)) == 0;
}

void AddBreaks(HtmlBlock& block, int breaks) {
  for (HtmlOp& op : block.ops) {
    if (op.kind != HtmlOp::Kind::Rule) {
      op.breaks += breaks;
      return;
    }
  }
  block.exit.breaks += breaks;
}

// The heap bytes of a string: a short one lives inside the string itself.
std::size_t HeapBytes(const std::u16string& text) {
  return text.capacity() > std::u16string().capacity() ? (text.capacity() + 1) * sizeof(char16_t)
                                                       : 0;
}

std::size_t HeapBytes(const std::vector<HtmlOp>& ops) {
  std::size_t bytes = ops.capacity() * sizeof(HtmlOp);
  for (const HtmlOp& op : ops) {
    bytes += HeapBytes(op.text);
  }
  return bytes;
}

}  // namespace

bool MHtmlWnd::CanGuess() const {
  const LOGFONT& font = layout_.key.font;
  return font.lfWeight == FW_NORMAL && font.lfUnderline == 0;
}

bool MHtmlWnd::LayoutComplete() const {
  return layout_.valid && layout_.exact == layout_.blocks.size();
}

// The state a layout begins with; the colour stack is the one the view was left with.
static HtmlLayoutState StartState(const HtmlLayoutKey& key) {
  HtmlLayoutState start;
  start.colours = key.colours;
  return start;
}

bool MHtmlWnd::MeasureBlock(std::size_t index, bool inOrder) {
  HtmlBlock& block = layout_.blocks[index];
  bool afterExact = inOrder && index > 0;
  HtmlLayoutState entry = afterExact ? layout_.blocks[index - 1].exit : StartState(layout_.key);
  LOGFONT font = afterExact ? layout_.fonts[layout_.blocks[index - 1].exitFont] : layout_.key.font;
  entry.penY = 0;
  // Ahead of the blocks above, the pen comes from the block before when its end is known.
  const HtmlBlock* before = index > 0 ? &layout_.blocks[index - 1] : nullptr;
  bool knownPen = inOrder || before == nullptr || (before->measured && before->exitKnown);
  if (!inOrder && before != nullptr && knownPen) {
    entry.penX = before->exit.penX;
    entry.extra = before->exit.extra;
  }
  EnterCriticalSection(&contentLock_);
  std::u16string markup = content_.substr(block.begin, block.end - block.begin);
  LeaveCriticalSection(&contentLock_);
  block.ops.clear();
  block.links.clear();
  block.textLength = 0;
  block.hasBreak = false;
  state_ = entry;
  if (!SameFont(logFont_, font)) {
    SetFontIndirect(view_, font);
  }
  bool parsed = LayOutBlock(markup, &block);
  block.exit = state_;
  block.exitFont = FontIndex(logFont_);
  if (!SameFont(logFont_, layout_.key.font)) {
    SetFontIndirect(view_, layout_.key.font);  // a failed pass may have left an element's font
  }
  state_.colours = layout_.key.colours;
  if (!parsed) {
    block.ops.clear();
    block.links.clear();
    return false;
  }
  block.measured = block.textKnown = true;
  block.entryKnown = knownPen;
  block.exitKnown = knownPen || block.hasBreak;
  block.entryX = entry.penX;
  block.entryExtra = entry.extra;
  block.entryBreaks = entry.breaks;
  block.shift = 0;
  block.height = block.exit.penY;
  for (const HtmlOp& op : block.ops) {
    layout_.tallest = std::max(layout_.tallest, op.height);
  }
  layout_.measuredChars += block.end - block.begin;
  layout_.measuredLines +=
      static_cast<std::uint64_t>(block.height / std::max<LONG>(lineHeight_, 1));
  layout_.placedFrom = std::min(layout_.placedFrom, index);
  if (inOrder && index == layout_.exact) {
    ++layout_.exact;
  }
  return true;
}

// Makes the first block that is not exact exact: keeps what was laid out ahead when it holds
// for the state the blocks above leave, else lays it out again from that state.
bool MHtmlWnd::AdvanceExact() {
  std::size_t index = layout_.exact;
  HtmlBlock& block = layout_.blocks[index];
  if (!block.measured) {
    return MeasureBlock(index, true);
  }
  HtmlLayoutState entry = index > 0 ? layout_.blocks[index - 1].exit : StartState(layout_.key);
  LOGFONT font = index > 0 ? layout_.fonts[layout_.blocks[index - 1].exitFont] : layout_.key.font;
  bool topLevel = entry.alignment == 0.0 && entry.linkTarget.empty() &&
                  entry.colours == layout_.key.colours && SameFont(font, layout_.key.font);
  bool samePen = entry.penX == block.entryX && entry.extra == block.entryExtra;
  bool moved = block.leadingBreak && block.entryExtra == 0;
  if (!topLevel || (!samePen && !moved)) {
    return MeasureBlock(index, true);
  }
  block.shift = samePen ? 0 : entry.extra;
  block.entryKnown = block.exitKnown = true;
  AddBreaks(block, entry.breaks - block.entryBreaks);
  block.entryBreaks = entry.breaks;
  ++layout_.exact;
  layout_.placedFrom = std::min(layout_.placedFrom, index);
  return true;
}

// The height of a block not laid out yet, from the lines per character of those that are: whole
// lines, as every measured height is, so a view at the bottom draws exactly.
LONG MHtmlWnd::Estimate(const HtmlBlock& block) const {
  std::uint64_t lines = 1;
  if (layout_.measuredChars > 0) {
    std::uint64_t chars = block.end - block.begin;
    lines = std::max<std::uint64_t>(
        1, (chars * layout_.measuredLines + layout_.measuredChars / 2) / layout_.measuredChars);
  }
  return static_cast<LONG>(lines) * std::max<LONG>(lineHeight_, 1);
}

// Blocks before the exact ones' end are all laid out: only those after can be estimates.
void MHtmlWnd::ReEstimate() {
  for (std::size_t i = layout_.exact; i < layout_.blocks.size(); ++i) {
    HtmlBlock& block = layout_.blocks[i];
    LONG estimate = Estimate(block);
    if (!block.measured && (block.height != estimate || block.shift != 0)) {
      block.height = estimate;
      block.shift = 0;
      layout_.placedFrom = std::min(layout_.placedFrom, i);
    }
  }
}

void MHtmlWnd::Place() {
  std::size_t count = layout_.blocks.size();
  if (layout_.placedFrom > count && layout_.tops.size() == count + 1) {
    return;
  }
  layout_.tops.resize(count + 1);
  layout_.textStarts.resize(count + 1);
  std::size_t from = std::min(layout_.placedFrom, count);
  LONG y = from == 0 ? 0 : layout_.tops[from - 1];
  std::size_t text = from == 0 ? 0 : layout_.textStarts[from - 1];
  if (from > 0) {
    const HtmlBlock& before = layout_.blocks[from - 1];
    y += before.shift + before.height;
    text += before.textKnown ? before.textLength : 0;
  }
  for (std::size_t i = from; i < count; ++i) {
    const HtmlBlock& block = layout_.blocks[i];
    layout_.tops[i] = y;
    layout_.textStarts[i] = text;
    y += block.shift + block.height;
    text += block.textKnown ? block.textLength : 0;
  }
  layout_.tops[count] = y;
  layout_.textStarts[count] = text;
  layout_.placedFrom = count + 1;
}

LONG MHtmlWnd::TotalHeight() {
  Place();
  return layout_.tops.back();
}

// The block whose part of the document holds y (the first or the last beyond the ends).
std::size_t MHtmlWnd::BlockAt(LONG y) {
  Place();
  if (layout_.blocks.empty()) {
    return 0;
  }
  auto after = std::upper_bound(layout_.tops.begin(), layout_.tops.end() - 1, y);
  return after == layout_.tops.begin() ? 0
                                       : static_cast<std::size_t>(after - layout_.tops.begin()) - 1;
}

// The view's pen and state as a layout of the whole leaves them (estimated while blocks are
// not laid out yet); a finished layout leaves the window's font as the last block left it.
void MHtmlWnd::UpdateEndState() {
  HtmlLayoutState end = StartState(layout_.key);
  if (!layout_.blocks.empty() && layout_.blocks.back().measured) {
    end = layout_.blocks.back().exit;
  }
  end.penY = TotalHeight();
  state_ = end;
  if (!LayoutComplete()) {
    return;
  }
  if (!layout_.blocks.empty()) {
    LOGFONT exitFont = layout_.fonts[layout_.blocks.back().exitFont];
    if (!SameFont(logFont_, exitFont)) {
      SetFontIndirect(view_, exitFont);
    }
  }
  // Appends up to here are laid out; only later ones can still break the markup.
  std::uint32_t length = layout_.contentLength;
  EnterCriticalSection(&contentLock_);
  goodLength_ = length;
  std::erase_if(appendStarts_, [length](std::uint32_t start) { return start < length; });
  LeaveCriticalSection(&contentLock_);
}

// Lays out a block ahead of those above it, from the pen the nearest block above with a line
// break leaves (up to a few blocks back), so that it is laid out right unless the blocks above
// lay out very long lines without a break.
bool MHtmlWnd::MeasureAhead(std::size_t index) {
  constexpr std::size_t kLookBack = 8;
  std::size_t from = index;
  EnterCriticalSection(&contentLock_);
  auto knownEnd = [this](std::size_t i) {
    return layout_.blocks[i].measured && layout_.blocks[i].exitKnown;
  };
  while (from > layout_.exact && index - from < kLookBack && !knownEnd(from - 1)) {
    --from;
    const HtmlBlock& block = layout_.blocks[from];
    if (HasLineBreakTag(content_, block.begin, block.end)) {
      break;
    }
  }
  LeaveCriticalSection(&contentLock_);
  // Blocks on the way laid out from an unknown pen are laid out again from the known one.
  for (std::size_t i = from; i <= index; ++i) {
    const HtmlBlock& block = layout_.blocks[i];
    bool again = i > from || !block.measured || !block.entryKnown;
    if (again && !MeasureBlock(i, false)) {
      return false;
    }
  }
  // As good as the blocks above can tell: it is not taken up again before its turn.
  layout_.blocks[index].entryKnown = true;
  return true;
}

// Lays out the blocks that reach into document rows [top, bottom); *changed when any was.
bool MHtmlWnd::MeasureRange(LONG top, LONG bottom, bool* changed) {
  for (;;) {
    Place();
    std::size_t count = layout_.blocks.size();
    std::vector<std::size_t> due;
    for (std::size_t i = BlockAt(top - layout_.tallest); i < count && layout_.tops[i] < bottom;
         ++i) {
      if (!layout_.blocks[i].measured || !layout_.blocks[i].entryKnown) {
        due.push_back(i);
      }
    }
    if (due.empty()) {
      return true;
    }
    *changed = true;
    for (std::size_t index : due) {
      if (layout_.blocks[index].measured && layout_.blocks[index].entryKnown) {
        continue;
      }
      if (!CanGuess() || index == layout_.exact) {
        // Laid out in order up to it: what is drawn never rests on a guess.
        while (layout_.exact <= index) {
          if (!AdvanceExact()) {
            return false;
          }
        }
      } else if (!MeasureAhead(index)) {
        return false;
      }
    }
  }
}

// Where the view's top is: a block and the rows into it, so that blocks above it that are laid
// out or estimated again do not move what the view shows.
HtmlAnchor MHtmlWnd::AnchorAt(LONG offset) {
  if (!layout_.valid || layout_.blocks.empty()) {
    return HtmlAnchor{0, offset, false};
  }
  std::size_t block = BlockAt(offset);
  return HtmlAnchor{block, offset - layout_.tops[block], true};
}

LONG MHtmlWnd::AnchorOffset(const HtmlAnchor& anchor) {
  Place();
  if (!anchor.byBlock || layout_.blocks.empty()) {
    return anchor.within;
  }
  return layout_.tops[std::min(anchor.block, layout_.blocks.size() - 1)] + anchor.within;
}

// Sets the scroll range for the content and lays out what the view shows: at the bottom (the
// view followed the end, or a layout not finished yet) the newest blocks, else those at the
// anchor. Laying out changes the heights, so it goes round until nothing more is.
bool MHtmlWnd::PlaceView(bool atBottom, LONG oldHeight, const HtmlAnchor& anchor) {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  LONG visible = VisibleLines();
  LONG oldLines = oldHeight / lineHeight_;
  for (;;) {
    if (!LayoutComplete()) {
      ReEstimate();
    }
    UpdateEndState();
    LONG newLines = state_.penY / lineHeight_;
    bool follow = atBottom && newLines > visible - 1 && (newLines > oldLines || !LayoutComplete());
    SCROLLINFO update{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    UpdateScrollRange(&update);
    update.nPos = follow ? newLines : AnchorOffset(anchor) / lineHeight_;
    if (follow) {
      update.fMask |= SIF_TRACKPOS;
      update.nTrackPos = newLines;
    }
    SetScrollInfo(view_, SB_VERT, &update, TRUE);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(view_, SB_VERT, &info);
    LONG offset = info.nPos * lineHeight_;
    bool changed = false;
    if (!MeasureRange(offset, offset + client.bottom, &changed)) {
      return false;
    }
    if (!changed) {
      return true;
    }
  }
}

// Before a move by lines or pages, lays out what lies between the view and where it goes, with
// the view held in place, so that the move goes exactly as far as in a finished layout.
void MHtmlWnd::PrepareMove(LONG lines) {
  if (!layout_.valid || LayoutComplete() || lineHeight_ < 1 || lines == 0) {
    return;
  }
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  HtmlAnchor anchor = AnchorAt(info.nPos * lineHeight_);
  LONG from = std::min<LONG>(lines, 0) * lineHeight_;
  LONG to = client.bottom + std::max<LONG>(lines, 0) * lineHeight_;
  for (bool changed = true; changed;) {
    changed = false;
    LONG top = AnchorOffset(anchor);
    if (!MeasureRange(top + from, top + to, &changed)) {
      return;  // the next paint shows the bad markup as text
    }
  }
  UpdateEndState();
  SCROLLINFO update{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  UpdateScrollRange(&update);
  update.nPos = AnchorOffset(anchor) / lineHeight_;
  SetScrollInfo(view_, SB_VERT, &update, TRUE);
}

static bool Before(std::chrono::steady_clock::time_point deadline) {
  return std::chrono::steady_clock::now() < deadline;
}

// Lays out blocks in order until `deadline`, then settles the scroll bar: a view at the bottom
// stays there, any other keeps the rows it showed in place. False when a block did not parse
// (the content was then rewritten or the cut given up).
bool MHtmlWnd::LayOutSlice(std::chrono::steady_clock::time_point deadline) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  bool atBottom = !(info.nPos + VisibleLines() < info.nMax);
  HtmlAnchor anchor = AnchorAt(info.nPos * lineHeight_);
  do {
    if (!AdvanceExact()) {
      OnMalformed();
      InvalidateRect(view_, nullptr, FALSE);
      return false;
    }
  } while (!LayoutComplete() && Before(deadline));
  UpdateEndState();
  SCROLLINFO update{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  UpdateScrollRange(&update);
  update.nPos = atBottom ? state_.penY / lineHeight_ : AnchorOffset(anchor) / lineHeight_;
  SetScrollInfo(view_, SB_VERT, &update, TRUE);
  InvalidateRect(view_, nullptr, FALSE);
  return true;
}

void MHtmlWnd::ContinueLayout() {
  slicePosted_ = false;
  // A slice posted before a Reset or a rewrite would lay out blocks of content that is gone;
  // the next paint cuts the content anew and posts slices of its own.
  EnterCriticalSection(&contentLock_);
  bool stale = contentRewritten_;
  LeaveCriticalSection(&contentLock_);
  if (stale || !layout_.valid || LayoutComplete() || memoryDc_ == nullptr) {
    return;
  }
  if (LayOutSlice(std::chrono::steady_clock::now() + kSlice) && !LayoutComplete()) {
    slicePosted_ = PostMessage(view_, kLayoutSliceMessage, 0, 0) != FALSE;
  }
}

void MHtmlWnd::FinishLayout() {
  // Content appended, reset or rewritten since the last paint is cut anew before it is laid
  // out, so that what is laid out is the content as it is now.
  if (layout_.valid) {
    SyncBlocks();
  }
  // A malformed block rewrites the content (or gives up the cut) and the layout starts over;
  // the rewritten content parses.
  for (int attempt = 0; attempt < 3 && layout_.valid && !LayoutComplete(); ++attempt) {
    if (!LayOutSlice(std::chrono::steady_clock::time_point::max())) {
      SyncBlocks();
    }
  }
}

void MHtmlWnd::OnMalformed() {
  if (ShowMalformedAsText(layout_.contentLength)) {
    wholeAsOneBlock_ = false;
    return;
  }
  EnterCriticalSection(&contentLock_);
  contentRewritten_ = true;
  LeaveCriticalSection(&contentLock_);
  if (!wholeAsOneBlock_) {
    // The appends parse together, so the cut between blocks was wrong: one block it is.
    wholeAsOneBlock_ = true;
    return;
  }
  // Nothing left to try: what does not parse is not shown.
  for (HtmlBlock& block : layout_.blocks) {
    block.measured = block.textKnown = true;
  }
  layout_.exact = layout_.blocks.size();
  layout_.placedFrom = 0;
}

void MHtmlWnd::Flatten() {
  Place();
  layout_.flatOps.clear();
  layout_.flatLinks.clear();
  for (std::size_t i = 0; i < layout_.blocks.size(); ++i) {
    const HtmlBlock& block = layout_.blocks[i];
    LONG origin = layout_.tops[i] + block.shift;
    for (HtmlOp op : block.ops) {
      op.top += origin;
      op.textStart += layout_.textStarts[i];
      layout_.flatOps.push_back(std::move(op));
    }
    for (HtmlLink link : block.links) {
      link.top += origin;
      link.bottom += origin;
      layout_.flatLinks.push_back(std::move(link));
    }
  }
}

// The accessors show the finished layout; finishing it does not change what the view shows,
// only how soon, so they stay usable on a view held as const.
const std::vector<HtmlOp>& MHtmlWnd::LayoutOps() const {
  auto* self = const_cast<MHtmlWnd*>(this);
  self->FinishLayout();
  self->Flatten();
  return layout_.flatOps;
}

std::vector<HtmlLink> MHtmlWnd::Links() const {
  auto* self = const_cast<MHtmlWnd*>(this);
  self->FinishLayout();
  self->Flatten();
  std::vector<HtmlLink> shifted = layout_.flatLinks;
  for (HtmlLink& link : shifted) {
    link.left += kMargin;
    link.right += kMargin;
    link.top += kMargin - linkOffset_;
    link.bottom += kMargin - linkOffset_;
  }
  return shifted;
}

std::size_t MHtmlWnd::HeldBytes() const {
  std::size_t bytes = HeapBytes(content_) + layout_.blocks.capacity() * sizeof(HtmlBlock) +
                      layout_.tops.capacity() * sizeof(LONG) +
                      layout_.textStarts.capacity() * sizeof(std::size_t) +
                      HeapBytes(layout_.flatOps) + HeapBytes(painted_);
  for (const HtmlBlock& block : layout_.blocks) {
    bytes += HeapBytes(block.ops) + block.links.capacity() * sizeof(HtmlLink);
  }
  return bytes;
}
