// MHtmlWnd's paint: lay out what is needed, draw what is visible into the back bitmap, follow
// the end of the content when the view was at the bottom, and copy the bitmap to the screen.
#include <algorithm>
#include <cstring>

#include "ui/html_wnd.h"

HFONT MHtmlWnd::FontFor(std::size_t index) {
  while (fontHandles_.size() <= index) {
    fontHandles_.push_back(CreateFontIndirect(&layout_.fonts[fontHandles_.size()]));
  }
  return fontHandles_[index];
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

void MHtmlWnd::Render() {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  // Markup that does not parse is rewritten to show as text and laid out again.
  std::uint32_t length = 0;
  if (!LayOutContent(&length)) {
    ShowMalformedAsText(length);
    LayOutContent(&length);
  }
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  linkOffset_ = lineHeight_ * info.nPos;
  DrawVisible(linkOffset_, client.bottom);
}

bool MHtmlWnd::LayOutContent(std::uint32_t* laidOut) {
  HtmlLayoutKey key{LayoutWidth(), lineHeight_, logFont_, state_.colours};
  // The kept layout still holds when nothing it depends on changed and the state it left
  // behind is the one it started from (so a fresh layout would start the same way).
  bool sameStart = layout_.valid && layout_.key == key && layout_.endState.colours == key.colours &&
                   std::memcmp(&layout_.endFont, &logFont_, sizeof(LOGFONT)) == 0;
  // Only the part not laid out yet is copied out of the content.
  EnterCriticalSection(&contentLock_);
  bool rewritten = contentRewritten_;
  contentRewritten_ = false;
  if (resetSinceLayout_) {
    resetSinceLayout_ = false;
    anchor_ = caret_ = 0;
  }
  auto length = static_cast<std::uint32_t>(content_.size());
  *laidOut = length;
  bool reuse = sameStart && !rewritten && length == layout_.contentLength;
  bool extend = sameStart && !rewritten && layout_.resumable && length > layout_.contentLength;
  std::u16string part = reuse    ? std::u16string()
                        : extend ? content_.substr(layout_.contentLength)
                                 : content_;
  LeaveCriticalSection(&contentLock_);

  if (reuse || extend) {
    state_ = layout_.endState;
  } else {
    ForgetLayout();
    layout_.key = key;
    state_.alignment = 0.0;
    state_.penX = state_.penY = state_.extra = 0;
    state_.linkTarget = "";
    state_.breaks = 0;
  }
  if (reuse) {
    return true;
  }
  if (Extend(part, length)) {
    return true;
  }
  // The failed pass may have left an element's colour or font in force: the next one starts
  // from where this one did.
  state_.colours = key.colours;
  if (std::memcmp(&logFont_, &key.font, sizeof(LOGFONT)) != 0) {
    SetFontIndirect(view_, key.font);
  }
  return false;
}

bool MHtmlWnd::Extend(const std::u16string& part, std::uint32_t length) {
  bool resumable = false;
  std::size_t known = layout_.ops.size();
  bool parsed = LayOut(part, &resumable);
  for (std::size_t i = known; i < layout_.ops.size(); ++i) {
    layout_.tallest = std::max(layout_.tallest, layout_.ops[i].height);
  }
  if (!parsed) {
    layout_.valid = false;
    return false;
  }
  layout_.valid = true;
  layout_.resumable = resumable;
  layout_.contentLength = length;
  layout_.endState = state_;
  layout_.endFont = logFont_;
  // Appends up to here are laid out; only later ones can still break the markup.
  EnterCriticalSection(&contentLock_);
  goodLength_ = length;
  std::erase_if(appendStarts_, [length](std::uint32_t start) { return start < length; });
  LeaveCriticalSection(&contentLock_);
  return true;
}

void MHtmlWnd::DrawVisible(LONG scrollOffset, LONG clientHeight) {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  const std::vector<HtmlOp>& ops = layout_.ops;
  // Operations are in document order and their tops never decrease: skip those that end
  // above the view and stop at the first that starts below it.
  LONG from = scrollOffset - layout_.tallest;
  auto first = std::lower_bound(ops.begin(), ops.end(), from,
                                [](const HtmlOp& op, LONG y) { return op.top < y; });
  // Document y maps to view y past the top margin; lines above the first visible one stay
  // out of the margin.
  for (auto it = first; it != ops.end() && it->top - scrollOffset + kMargin < clientHeight; ++it) {
    if (it->top + it->height <= scrollOffset) {
      continue;
    }
    LONG top = it->top - scrollOffset + kMargin;
    LONG left = it->x + kMargin;
    if (it->kind == HtmlOp::Kind::Text) {
      DrawSelection(*it, left, top);
      SelectObject(memoryDc_, FontFor(it->font));
      SetTextColor(memoryDc_, it->colour);
      RECT line{left, top, client.right, top + it->height};
      DrawTextW(memoryDc_, it->text.c_str(), static_cast<int>(it->text.size()), &line,
                DT_NOPREFIX | DT_NOCLIP);
    } else if (it->kind == HtmlOp::Kind::Image) {
      HBITMAP bitmap = Image(it->image);
      HDC source = CreateCompatibleDC(memoryDc_);
      SelectObject(source, bitmap);
      BitBlt(memoryDc_, left, top, it->width, it->height, source, 0, 0, SRCCOPY);
      DeleteDC(source);
      DrawSelection(*it, left, top);
    } else {
      RECT bar{kMargin, top, kMargin + it->width, top + it->height};
      DrawEdge(memoryDc_, &bar, EDGE_ETCHED, BF_RECT | BF_MIDDLE);
    }
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

  LONG oldHeight = state_.penY;
  Render();
  LONG newHeight = state_.penY;
  LONG newLines = newHeight / lineHeight_;
  LONG oldLines = oldHeight / lineHeight_;
  bool again = atBottom && newLines > visible - 1 && newLines > oldLines;

  SCROLLINFO update{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  UpdateScrollRange(&update);
  if (again) {
    update.fMask |= SIF_POS | SIF_TRACKPOS;
    update.nPos = newLines;
    update.nTrackPos = newLines;
  }
  SetScrollInfo(view_, SB_VERT, &update, TRUE);
  if (again) {
    FillRect(memoryDc_, &client, background);
    Render();
  }
  BitBlt(screen, 0, 0, client.right, client.bottom, memoryDc_, 0, 0, SRCCOPY);
  DeleteObject(background);
  EndPaint(view_, &paint);
}
