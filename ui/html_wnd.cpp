// MHtmlWnd: creation, content, fonts, focus and the view's messages.
#include "ui/html_wnd.h"

#include <algorithm>

#include "platform/controls.h"
#include "ui/wnd_stack.h"
#include "xml/text_convert.h"

namespace {

constexpr const WCHAR* kViewClass = u"MHTMLWND";

// The desktop's reading keys: arrows move a line, page keys a page, Home and End to the ends.
// Keys typed into a control of the window (a chat's input line) scroll the view too, except
// Home and End, which the control needs for itself.
WORD ScrollCodeOfKey(WPARAM key, bool inView) {
  if (!inView && (key == VK_HOME || key == VK_END)) {
    return SB_ENDSCROLL;
  }
  switch (key) {
    case VK_UP:
      return SB_LINEUP;
    case VK_DOWN:
      return SB_LINEDOWN;
    case VK_PRIOR:
      return SB_PAGEUP;
    case VK_NEXT:
      return SB_PAGEDOWN;
    case VK_HOME:
      return SB_TOP;
    case VK_END:
      return SB_BOTTOM;
    default:
      return SB_ENDSCROLL;
  }
}

}  // namespace

MHtmlWnd::MHtmlWnd(const WCHAR* name, HINSTANCE instance, const WCHAR* className, MWndStack* stack,
                   const LOGFONT& logFont)
    : MWnd(name, instance, className, stack, logFont), parser_(XML_ParserCreate(nullptr)) {
  InitializeCriticalSection(&contentLock_);
}

MHtmlWnd::~MHtmlWnd() {
  // The context goes first: it may still draw into the back bitmap.
  if (memoryDc_ != nullptr) {
    DeleteDC(memoryDc_);
  }
  for (HFONT font : fontHandles_) {
    DeleteObject(font);
  }
  for (auto& [id, bitmap] : images_) {
    DeleteObject(bitmap);
  }
  if (backBitmap_ != nullptr) {
    DeleteObject(backBitmap_);
  }
  if (parser_ != nullptr) {
    XML_ParserFree(parser_);
  }
  DeleteCriticalSection(&contentLock_);
}

HWND MHtmlWnd::Create(MWnd* parentWnd, int iconId, int menuBarId) {
  static const WNDCLASS viewClass{CS_HREDRAW | CS_VREDRAW,
                                  MWndSharedProc,
                                  0,
                                  0,
                                  nullptr,
                                  nullptr,
                                  nullptr,
                                  static_cast<HBRUSH>(GetStockObject(COLOR_WINDOW)),
                                  nullptr,
                                  kViewClass};
  RegisterClassW(&viewClass);
  MWnd::Create(parentWnd, iconId, menuBarId);
  RECT client{0, 0, 0, 0};
  if (parentWnd != nullptr) {
    GetClientRect(parentWnd->GetHwnd(), &client);
  } else {
    GetClientRect(hwnd_, &client);
  }
  view_ =
      CreateWindowExW(0, kViewClass, name_, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL,
                      client.left, client.top, client.right - client.left,
                      client.bottom - client.top - 26, hwnd_, nullptr, instance_, nullptr);
  AddChildHwnd(view_);
  SetFontIndirect(view_, logFont_);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  SetScrollInfo(view_, SB_VERT, &info, TRUE);
  Relayout();
  return hwnd_;
}

void MHtmlWnd::Append(const WCHAR* text) {
  if (text == nullptr) {
    return;
  }
  EnterCriticalSection(&contentLock_);
  // Where this append begins, so that markup it breaks can be told from what was fine.
  appendStarts_.push_back(static_cast<std::uint32_t>(content_.size()));
  content_.append(text);
  LeaveCriticalSection(&contentLock_);
}

void MHtmlWnd::AppendNarrow(const char* text) {
  Append(mb_to_wide(text).c_str());
}

wmstring MHtmlWnd::GetContent() {
  EnterCriticalSection(&contentLock_);
  wmstring copy(content_.c_str(), static_cast<std::uint32_t>(content_.size()));
  LeaveCriticalSection(&contentLock_);
  return copy;
}

void MHtmlWnd::Reset() {
  EnterCriticalSection(&contentLock_);
  content_.clear();
  contentRewritten_ = true;
  appendStarts_.clear();
  goodLength_ = 0;
  resetSinceLayout_ = true;  // the selection goes at the next layout, on the UI thread
  LeaveCriticalSection(&contentLock_);
}

void MHtmlWnd::Relayout() {
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  MoveWindow(view_, client.left, client.top, client.right - client.left, client.bottom - client.top,
             TRUE);
  if (lineHeight_ >= 1) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    UpdateScrollRange(&info);
    SetScrollInfo(view_, SB_VERT, &info, TRUE);
  }
}

LONG MHtmlWnd::LayoutWidth() {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  return std::max<LONG>(client.right - 2 * kMargin, 1);
}

LONG MHtmlWnd::VisibleLines() {
  RECT client{0, 0, 0, 0};
  GetClientRect(view_, &client);
  LONG height = std::max<LONG>(client.bottom - 2 * kMargin, 0);
  return lineHeight_ >= 1 ? height / lineHeight_ : 0;
}

LONG MHtmlWnd::ContentLines() const {
  if (lineHeight_ < 1) {
    return 0;
  }
  LONG height = state_.penY + (state_.penX > 0 ? lineHeight_ + state_.extra : 0);
  return (height + lineHeight_ - 1) / lineHeight_;
}

// The range counts the content's lines (0 .. lines - 1) and the page the lines that fit, so
// there is something to scroll, and a bar to show, only when the content is taller than the
// view.
void MHtmlWnd::UpdateScrollRange(SCROLLINFO* info) {
  info->nMin = 0;
  info->nMax = std::max<LONG>(ContentLines() - 1, 0);
  info->nPage = static_cast<UINT>(std::max<LONG>(VisibleLines(), 1));
}

void MHtmlWnd::BringToFront() {
  MWnd::BringToFront();
  ShowWindow(view_, SW_SHOW);
  if (GetFocus() != view_) {
    SetFocus(view_);
  }
}

void MHtmlWnd::OnActivate(WORD state) {
  if (state != 0 && GetFocus() != view_) {
    SetFocus(view_);
  }
}

void MHtmlWnd::SetFont(HWND, const char* faceName, int size) {
  MWnd::SetFont(view_, faceName, size);
}

void MHtmlWnd::SetFontIndirect(HWND, const LOGFONT& logFont) {
  MWnd::SetFontIndirect(view_, logFont);
}

void MHtmlWnd::Redraw() {
  InvalidateRect(view_, nullptr, TRUE);
  UpdateWindow(view_);
}

LRESULT MHtmlWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (hwnd == view_ && OnSelectionKey(wParam)) {
        return 0;
      }
      if (WORD code = ScrollCodeOfKey(wParam, hwnd == view_); code != SB_ENDSCROLL) {
        SendMessage(view_, WM_VSCROLL, code, 0);
        return 0;
      }
      if (wParam == VK_RETURN) {
        return 0;  // consumed: Enter does nothing here
      }
      break;
    case WM_SIZE:
      if (hwnd == view_) {
        viewResized_ = true;
      }
      break;
    case WM_ERASEBKGND:
      if (hwnd == view_) {
        return 1;
      }
      break;
    case WM_PAINT:
      if (hwnd == view_) {
        Paint();
        return 0;
      }
      break;
    case WM_VSCROLL:
      return OnVScroll(wParam);
    case kLayoutSliceMessage:
      if (hwnd == view_) {
        ContinueLayout();
        return 0;
      }
      break;
    // A link opens at button-up when the mouse did not move: a press that drags selects.
    case WM_LBUTTONDOWN:
      if (hwnd == view_) {
        OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      break;
    case WM_MOUSEMOVE:
      if (hwnd == view_) {
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      break;
    case WM_LBUTTONUP:
      if (hwnd == view_) {
        OnButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      break;
    case WM_CONTEXTMENU:
      if (hwnd == view_) {
        ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_COMMAND:
      if (hwnd == view_ && LOWORD(wParam) == kCopyCommand) {
        CopySelection();
        return 0;
      }
      if (hwnd == view_ && LOWORD(wParam) == kSelectAllCommand) {
        SelectAll();
        return 0;
      }
      break;
    default:
      break;
  }
  return MWnd::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT MHtmlWnd::OnVScroll(WPARAM wParam) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_VERT, &info);
  int old = info.nPos;
  int position = old;
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      position -= 1;
      break;
    case SB_LINEDOWN:
      position += 1;
      break;
    case SB_PAGEUP:
      position -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      position += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = info.nMin;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      break;
  }
  // A relative move goes over laid-out rows; the view may have been moved to keep its rows.
  WORD code = LOWORD(wParam);
  if (code == SB_LINEUP || code == SB_LINEDOWN || code == SB_PAGEUP || code == SB_PAGEDOWN) {
    PrepareMove(position - old);
    int moved = position - old;
    info.fMask = SIF_POS;
    GetScrollInfo(view_, SB_VERT, &info);
    if (info.nPos != old) {
      InvalidateRect(view_, nullptr, FALSE);  // what is shown moved with the rows above
    }
    old = info.nPos;
    position = old + moved;
  }
  SCROLLINFO update{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
  SetScrollInfo(view_, SB_VERT, &update, TRUE);
  info.fMask = SIF_POS;
  GetScrollInfo(view_, SB_VERT, &info);
  if (info.nPos != old) {
    ScrollWindowEx(view_, 0, -(info.nPos - old) * lineHeight_, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE);
  }
  return 0;
}

// Only the blocks at the point are looked at: they are laid out, since the view shows them.
void MHtmlWnd::HitTest(LONG x, LONG y) {
  if (!layout_.valid) {
    return;
  }
  LONG docY = y - kMargin + linkOffset_;
  std::size_t index = BlockAt(docY - layout_.tallest - 1);
  for (; index < layout_.blocks.size() && layout_.tops[index] <= docY; ++index) {
    const HtmlBlock& block = layout_.blocks[index];
    LONG origin = layout_.tops[index] + block.shift;
    for (const HtmlLink& link : block.links) {
      LONG top = link.top + origin + kMargin - linkOffset_;
      LONG bottom = link.bottom + origin + kMargin - linkOffset_;
      if (link.left + kMargin <= x && x <= link.right + kMargin && top <= y && y <= bottom) {
        if (!link.target.empty()) {
          OpenLink(link.target);
        }
        return;
      }
    }
  }
}
