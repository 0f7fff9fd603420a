// MHtmlWnd's paint: lay out what is needed, draw what is visible into the back bitmap, follow
// the end of the content when the view was at the bottom, and copy the bitmap to the screen.
#include <algorithm>
#include <cstring>

#include "ui/html_blocks.h"
#include "ui/html_wnd.h"

HFONT MHtmlWnd::FontFor(std::size_t index) {
  while (fontHandles_.size() <= index) {
    fontHandles_.push_back(CreateFontIndirect(&layout_.fonts[fontHandles_.size()]));
  }
  return fontHandles_[index];
}

std::uint32_t MHtmlWnd::FontIndex(const LOGFONT& font) {
  std::vector<LOGFONT>& fonts = layout_.fonts;
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    if (std::memcmp(&fonts[i], &font, sizeof(LOGFONT)) == 0) {
      return static_cast<std::uint32_t>(i);
    }
  }
  fonts.push_back(font);
  return static_cast<std::uint32_t>(fonts.size() - 1);
}

HBITMAP MHtmlWnd::Image(int id) {
  auto found = images_.find(id);
  if (found != images_.end()) {
    return found->second;
  }
  HBITMAP bitmap = LoadBitmap(instance_, id);
  images_[id] = bitmap;
  return bitmap;
}

bool MHtmlWnd::ImageSize(int id, SIZE* size) {
  HBITMAP bitmap = Image(id);
  BITMAP info{};
  if (bitmap == nullptr || GetObject(bitmap, sizeof(info), &info) == 0) {
    return false;
  }
  *size = SIZE{info.bmWidth, info.bmHeight};
  return true;
}

void MHtmlWnd::ForgetLayout() {
  for (HFONT font : fontHandles_) {
    DeleteObject(font);
  }
  fontHandles_.clear();
  layout_ = HtmlLayout();
}

// Cuts the content into blocks: content that only grew gets new blocks (the last block again
// when it was not closed), other content all new ones. A change of width, line height, font or
// colour keeps the blocks and what they know of their text but lays them out again.
void MHtmlWnd::SyncBlocks() {
  HtmlLayoutKey key{LayoutWidth(), lineHeight_, logFont_, state_.colours};
  bool sameKey = layout_.valid && layout_.key == key;
  EnterCriticalSection(&contentLock_);
  bool rewritten = contentRewritten_;
  contentRewritten_ = false;
  if (resetSinceLayout_) {
    resetSinceLayout_ = false;
    anchor_ = caret_ = 0;
  }
  auto length = static_cast<std::uint32_t>(content_.size());
  bool grown = layout_.valid && !rewritten && length > layout_.contentLength;
  if (!layout_.valid || rewritten) {
    std::vector<HtmlBlock> none;
    layout_.blocks.swap(none);
    layout_.exact = 0;
  }
  std::uint32_t from = layout_.blocks.empty() ? 0 : layout_.contentLength;
  if (grown && !layout_.resumable && !layout_.blocks.empty()) {
    from = layout_.blocks.back().begin;
    layout_.blocks.pop_back();
    layout_.exact = std::min(layout_.exact, layout_.blocks.size());
  }
  std::vector<std::uint32_t> ends;
  bool closed = layout_.resumable;
  if (wholeAsOneBlock_ && length > 0) {
    layout_.blocks.clear();
    from = 0;
    ends.push_back(length);
    closed = false;
  } else if (from < length) {
    ends = SplitHtmlBlocks(content_, from, &closed);
  }
  LeaveCriticalSection(&contentLock_);

  if (!sameKey) {
    // Everything is laid out again; the cut and the text lengths still hold.
    // The old lines per character are the first estimate at the new key.
    std::vector<HtmlBlock> blocks = std::move(layout_.blocks);
    std::uint64_t chars = layout_.measuredChars;
    std::uint64_t lines = layout_.measuredLines;
    ForgetLayout();
    layout_.blocks = std::move(blocks);
    layout_.measuredChars = chars;
    layout_.measuredLines = lines;
    for (HtmlBlock& block : layout_.blocks) {
      block.measured = false;
      block.ops.clear();
      block.links.clear();
    }
    layout_.key = key;
  }
  layout_.placedFrom = std::min(layout_.placedFrom, layout_.blocks.size());
  for (std::uint32_t end : ends) {
    HtmlBlock block;
    block.begin = from;
    block.end = end;
    block.height = Estimate(block);
    layout_.blocks.push_back(std::move(block));
    from = end;
  }
  layout_.resumable = closed;
  layout_.exact = std::min(layout_.exact, layout_.blocks.size());
  layout_.contentLength = length;
  layout_.valid = true;
}

// Lays out what the view shows and draws it; markup that does not parse is rewritten to show
// as text and laid out again.
void MHtmlWnd::Render(bool atBottom, LONG oldHeight) {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  // A view scrolled up keeps showing the same rows while blocks are laid out or estimated.
  SCROLLINFO before{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &before);
  HtmlAnchor anchor = AnchorAt(before.nPos * lineHeight_);
  EnterCriticalSection(&contentLock_);
  anchor.byBlock = anchor.byBlock && !contentRewritten_;  // other content: the rows stay
  LeaveCriticalSection(&contentLock_);
  SyncBlocks();
  if (!PlaceView(atBottom, oldHeight, anchor)) {
    OnMalformed();
    SyncBlocks();
    PlaceView(atBottom, oldHeight, anchor);
  }
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  linkOffset_ = lineHeight_ * info.nPos;
  DrawVisible(linkOffset_, client.bottom);
}

void MHtmlWnd::DrawVisible(LONG scrollOffset, LONG clientHeight) {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  Place();
  painted_.clear();
  // Blocks and the operations in them are in document order and their tops never decrease:
  // skip what ends above the view and stop at the first that starts below it.
  std::size_t index = BlockAt(scrollOffset - layout_.tallest);
  for (; index < layout_.blocks.size(); ++index) {
    const HtmlBlock& block = layout_.blocks[index];
    LONG origin = layout_.tops[index] + block.shift;
    if (origin - scrollOffset + kMargin >= clientHeight) {
      break;
    }
    // Document y maps to view y past the top margin; lines above the first visible one stay
    // out of the margin.
    for (const HtmlOp& op : block.ops) {
      LONG docTop = origin + op.top;
      if (docTop + op.height <= scrollOffset) {
        continue;
      }
      LONG top = docTop - scrollOffset + kMargin;
      if (top >= clientHeight) {
        break;
      }
      DrawOp(op, layout_.textStarts[index], kMargin + op.x, top, client.right);
      painted_.push_back(op);
      painted_.back().x += kMargin;
      painted_.back().top = top;
      painted_.back().textStart += layout_.textStarts[index];
    }
  }
}

void MHtmlWnd::DrawOp(const HtmlOp& op, std::size_t textBase, LONG left, LONG top, LONG right) {
  if (op.kind == HtmlOp::Kind::Text) {
    DrawSelection(op, textBase, left, top);
    SelectObject(memoryDc_, FontFor(op.font));
    SetTextColor(memoryDc_, op.colour);
    RECT line{left, top, right, top + op.height};
    DrawTextW(memoryDc_, op.text.c_str(), static_cast<int>(op.text.size()), &line,
              DT_NOPREFIX | DT_NOCLIP);
  } else if (op.kind == HtmlOp::Kind::Image) {
    HBITMAP bitmap = Image(op.image);
    HDC source = CreateCompatibleDC(memoryDc_);
    SelectObject(source, bitmap);
    BitBlt(memoryDc_, left, top, op.width, op.height, source, 0, 0, SRCCOPY);
    DeleteDC(source);
    DrawSelection(op, textBase, left, top);
  } else {
    RECT bar{kMargin, top, kMargin + op.width, top + op.height};
    DrawEdge(memoryDc_, &bar, EDGE_ETCHED, BF_RECT | BF_MIDDLE);
  }
}

void MHtmlWnd::Paint() {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(view_, &paint);
  if (memoryDc_ == nullptr) {
    memoryDc_ = CreateCompatibleDC(screen);
    SetBkMode(memoryDc_, TRANSPARENT);
  }
  if (backBitmap_ == nullptr || viewResized_) {
    // The new bitmap goes in before the old one is released.
    HBITMAP old = backBitmap_;
    backBitmap_ = CreateCompatibleBitmap(screen, client.right, client.bottom);
    SelectObject(memoryDc_, backBitmap_);
    if (old != nullptr) {
      DeleteObject(old);
    }
    viewResized_ = false;
  }
  SelectObject(memoryDc_, backBitmap_);
  HBRUSH background = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  FillRect(memoryDc_, &client, background);

  SelectObject(memoryDc_, font_);
  TEXTMETRIC metrics{};
  GetTextMetrics(memoryDc_, &metrics);
  lineHeight_ = metrics.tmHeight >= 1 ? metrics.tmHeight : logFont_.lfHeight;
  if (lineHeight_ < 1) {
    lineHeight_ = 10;
  }
  int visible = VisibleLines();
  bool atBottom = !(info.nPos + visible < info.nMax);

  // The layout follows the end when the view was at the bottom (html_lazy.cpp).
  Render(atBottom, state_.penY);
  BitBlt(screen, 0, 0, client.right, client.bottom, memoryDc_, 0, 0, SRCCOPY);
  DeleteObject(background);
  EndPaint(view_, &paint);
  // What is not laid out yet is laid out in slices between the other messages.
  if (!LayoutComplete() && !slicePosted_) {
    slicePosted_ = PostMessage(view_, kLayoutSliceMessage, 0, 0) != FALSE;
  }
}
