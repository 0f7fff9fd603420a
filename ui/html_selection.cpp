// MHtmlWnd's selection: a press and drag selects characters of the laid-out text, measured
// with each run's font; the selection is drawn highlighted and copied as plain text.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/clipboard.h"
#include "platform/controls.h"
#include "platform/menu.h"
#include "ui/html_wnd.h"

namespace {

constexpr COLORREF kSelectionColour = RGB(0xAD, 0xD6, 0xFF);  // a light blue
constexpr LONG kImageFrame = 2;

bool HasText(const HtmlOp& op) {
  return op.kind != HtmlOp::Kind::Rule && !op.text.empty();
}

}  // namespace

// The selection is made in a finished layout (a press finishes it), so every block before it
// knows its text and the offsets hold.
std::u16string MHtmlWnd::SelectedText() const {
  std::size_t begin = std::min(anchor_, caret_);
  std::size_t end = std::max(anchor_, caret_);
  std::u16string text;
  bool first = true;
  std::size_t base = 0;
  for (const HtmlBlock& block : layout_.blocks) {
    if (base >= end) {
      break;
    }
    for (const HtmlOp& op : block.ops) {
      std::size_t opStart = base + op.textStart;
      std::size_t opEnd = opStart + op.text.size();
      if (!HasText(op) || opEnd <= begin) {
        continue;
      }
      if (opStart >= end) {
        break;
      }
      if (!first) {
        text.append(static_cast<std::size_t>(op.breaks), u'\n');
      }
      std::size_t from = std::max(begin, opStart) - opStart;
      std::size_t to = std::min(end, opEnd) - opStart;
      text += op.text.substr(from, to - from);
      first = false;
    }
    base += block.textLength;
  }
  return text;
}

void MHtmlWnd::SelectAll() {
  FinishLayout();
  anchor_ = 0;
  caret_ = layout_.valid ? layout_.textStarts.back() : 0;
  InvalidateRect(view_, nullptr, FALSE);
}

void MHtmlWnd::ClearSelection() {
  if (anchor_ != caret_) {
    InvalidateRect(view_, nullptr, FALSE);
  }
  anchor_ = caret_ = 0;
}

bool MHtmlWnd::CopySelection() {
  std::u16string text = SelectedText();
  return !text.empty() && SetClipboardText(text.c_str()) != FALSE;
}

// Ctrl+C copies, Ctrl+A selects everything; true when the key was one of them.
bool MHtmlWnd::OnSelectionKey(WPARAM key) {
  if (GetKeyState(static_cast<int>(VK_CONTROL)) >= 0) {
    return false;
  }
  if (key == 'C') {
    CopySelection();
    return true;
  }
  if (key == 'A') {
    SelectAll();
    return true;
  }
  return false;
}

LONG MHtmlWnd::CharX(const HtmlOp& op, std::size_t chars) {
  if (op.kind == HtmlOp::Kind::Image) {
    return chars == 0 ? 0 : op.width;
  }
  if (chars == 0 || memoryDc_ == nullptr) {
    return 0;
  }
  SelectObject(memoryDc_, FontFor(op.font));
  SIZE size{0, 0};
  GetTextExtentPoint32(memoryDc_, op.text.c_str(), static_cast<int>(chars), &size);
  return size.cx;
}

// The character boundary of the operation nearest to `x` (pixels from its left edge).
std::size_t MHtmlWnd::CharOffsetIn(const HtmlOp& op, LONG x) {
  if (op.kind == HtmlOp::Kind::Image || memoryDc_ == nullptr) {
    return x < op.width / 2 ? 0 : op.text.size();
  }
  SelectObject(memoryDc_, FontFor(op.font));
  int count = static_cast<int>(op.text.size());
  std::vector<int> extents(op.text.size(), 0);
  int fit = 0;
  GetTextExtentExPoint(memoryDc_, op.text.c_str(), count, INT_MAX, &fit, extents.data(), nullptr);
  std::size_t best = 0;
  LONG bestDistance = std::abs(x);
  for (int i = 0; i < fit; ++i) {
    LONG distance = std::abs(x - extents[static_cast<std::size_t>(i)]);
    if (distance < bestDistance) {
      best = static_cast<std::size_t>(i) + 1;
      bestDistance = distance;
    }
  }
  return best;
}

// The operations of the blocks around document row y, placed in the document, with their
// offsets in the whole text; *last when they reach the end of the layout.
std::vector<HtmlOp> MHtmlWnd::OpsAround(LONG docY, bool* first, bool* last) {
  std::vector<HtmlOp> near;
  std::size_t count = layout_.blocks.size();
  std::size_t at = std::min(BlockAt(docY), count - 1);
  auto firstTop = [this](std::size_t i) {
    const HtmlBlock& block = layout_.blocks[i];
    return layout_.tops[i] + block.shift + block.ops.front().top;
  };
  // Back to a block that starts above the line at y, forward past the first one below it.
  std::size_t low = at;
  while (low > 0 && (layout_.blocks[low].ops.empty() || firstTop(low) > docY - lineHeight_)) {
    --low;
  }
  std::size_t high = at + 1;
  while (high < count && (layout_.blocks[high].ops.empty() || firstTop(high) <= docY)) {
    ++high;
  }
  high = std::min(high + 1, count);
  *first = low == 0;
  *last = high == count;
  for (std::size_t i = low; i < high; ++i) {
    LONG origin = layout_.tops[i] + layout_.blocks[i].shift;
    for (HtmlOp op : layout_.blocks[i].ops) {
      op.top += origin;
      op.textStart += layout_.textStarts[i];
      near.push_back(std::move(op));
    }
  }
  return near;
}

// The offset in the laid-out text at a point of the view: above the content its start, below
// it its end, left or right of a line that line's start or end.
std::size_t MHtmlWnd::TextOffsetAt(LONG x, LONG y) {
  if (!layout_.valid || layout_.blocks.empty()) {
    return 0;
  }
  // The scroll position as it is now: a drag may have scrolled since the last paint.
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  LONG docY = y - kMargin + lineHeight_ * info.nPos;
  LONG docX = x - kMargin;
  bool atStart = false;
  bool atEnd = false;
  std::vector<HtmlOp> ops = OpsAround(docY, &atStart, &atEnd);
  auto below = std::upper_bound(ops.begin(), ops.end(), docY,
                                [](LONG at, const HtmlOp& op) { return at < op.top; });
  if (below == ops.begin()) {
    return atStart || ops.empty() ? 0 : ops.front().textStart;
  }
  LONG lineTop = std::prev(below)->top;
  auto line = std::lower_bound(ops.begin(), below, lineTop,
                               [](const HtmlOp& op, LONG top) { return op.top < top; });
  bool lastLine = below == ops.end() && atEnd;
  LONG lineBottom = lineTop;
  for (auto it = line; it != below; ++it) {
    lineBottom = std::max(lineBottom, it->top + it->height);
  }
  if (lastLine && docY >= lineBottom) {
    return layout_.textStarts.back();
  }
  std::size_t offset = line->textStart;
  for (auto it = line; it != below; ++it) {
    if (!HasText(*it)) {
      continue;
    }
    if (docX < it->x) {
      return it == line ? it->textStart : offset;
    }
    if (docX < it->x + it->width) {
      return it->textStart + CharOffsetIn(*it, docX - it->x);
    }
    offset = it->textStart + it->text.size();
  }
  return offset;
}

void MHtmlWnd::OnButtonDown(LONG x, LONG y) {
  ClearSelection();
  // A selection counts characters of the whole text: every block must know its own.
  FinishLayout();
  pressed_ = true;
  dragged_ = false;
  pressPoint_ = POINT{x, y};
  anchor_ = caret_ = TextOffsetAt(x, y);
}

void MHtmlWnd::OnMouseMove(LONG x, LONG y) {
  if (!pressed_) {
    return;
  }
  if (!dragged_ && std::abs(x - pressPoint_.x) <= kDragSlop &&
      std::abs(y - pressPoint_.y) <= kDragSlop) {
    return;
  }
  dragged_ = true;
  // Dragging past the top or bottom edge scrolls a line per move.
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  if (y < 0) {
    SendMessage(view_, WM_VSCROLL, SB_LINEUP, 0);
  } else if (y > client.bottom) {
    SendMessage(view_, WM_VSCROLL, SB_LINEDOWN, 0);
  }
  std::size_t offset = TextOffsetAt(x, y);
  if (offset != caret_) {
    caret_ = offset;
    InvalidateRect(view_, nullptr, FALSE);
  }
}

void MHtmlWnd::OnButtonUp(LONG x, LONG y) {
  if (!pressed_) {
    return;
  }
  pressed_ = false;
  if (!dragged_) {
    anchor_ = caret_;
    HitTest(x, y);
  }
}

void MHtmlWnd::ShowContextMenu(LONG screenX, LONG screenY) {
  HMENU menu = CreatePopupMenu();
  UINT copy = anchor_ != caret_ ? MF_ENABLED : MF_GRAYED;
  AppendMenuW(menu, MF_STRING | copy, kCopyCommand, u"Copy\tCtrl+C");
  AppendMenuW(menu, MF_STRING, kSelectAllCommand, u"Select All\tCtrl+A");
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN, screenX, screenY, view_, nullptr);
  DestroyMenu(menu);
}

// The selected part of a text run is drawn on a highlight before its text; a selected image
// gets a highlight frame over its edge.
void MHtmlWnd::DrawSelection(const HtmlOp& op, std::size_t textBase, LONG left, LONG top) {
  std::size_t begin = std::min(anchor_, caret_);
  std::size_t end = std::max(anchor_, caret_);
  std::size_t opStart = textBase + op.textStart;
  std::size_t opEnd = opStart + op.text.size();
  if (!HasText(op) || begin >= opEnd || end <= opStart) {
    return;
  }
  HBRUSH brush = CreateSolidBrush(kSelectionColour);
  if (op.kind == HtmlOp::Kind::Image) {
    LONG right = left + op.width;
    LONG bottom = top + op.height;
    RECT edges[] = {{left, top, right, top + kImageFrame},
                    {left, bottom - kImageFrame, right, bottom},
                    {left, top, left + kImageFrame, bottom},
                    {right - kImageFrame, top, right, bottom}};
    for (const RECT& edge : edges) {
      FillRect(memoryDc_, &edge, brush);
    }
  } else {
    LONG from = CharX(op, std::max(begin, opStart) - opStart);
    LONG to = CharX(op, std::min(end, opEnd) - opStart);
    RECT area{left + from, top, left + to, top + op.height};
    FillRect(memoryDc_, &area, brush);
  }
  DeleteObject(brush);
}
