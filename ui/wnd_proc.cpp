// MWnd's default message handling and its fonts.
#include <cstring>

#include "ui/frame_link.h"
#include "ui/wnd.h"
#include "ui/wnd_stack.h"

LRESULT MWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultWindowProc(hwnd, message, wParam, lParam);
}

LRESULT MWnd::DefaultWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MWND_ENABLEMENUITEM || message == WM_MWND_CHECKMENUITEM) {
    auto* record = reinterpret_cast<MenuItemRecord*>(lParam);
    if (record != nullptr) {
      if (message == WM_MWND_ENABLEMENUITEM) {
        FrameEnableMenuItem(record->itemId, record->flags);
      } else {
        FrameCheckMenuItem(record->itemId, record->flags);
      }
      delete record;
    }
    return 0;
  }
  if (message > WM_IME_SETCONTEXT) {
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (message == WM_ACTIVATE || message == WM_IME_SETCONTEXT) {
    // The front window hears of it, not necessarily the one addressed.
    if (MWnd* front = stack_ != nullptr ? stack_->Top() : nullptr) {
      front->OnActivate(LOWORD(wParam));
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (message == WM_SETTINGCHANGE && (wParam == SPI_SETSIPINFO || wParam == SETTINGCHANGE_RESET)) {
    std::vector<MWnd*> windows = stack_ != nullptr ? stack_->Snapshot() : std::vector<MWnd*>();
    for (MWnd* window : windows) {
      if (wParam == SETTINGCHANGE_RESET) {
        window->FitToScreen();
      }
      window->Relayout();
    }
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void MWnd::SetFont(HWND control, const char* faceName, int size) {
  if (faceName == nullptr || faceName[0] == '\0' || size == -1) {
    return;
  }
  LOGFONT record;
  std::memset(&record, 0, sizeof(record));
  record.lfCharSet = DEFAULT_CHARSET;
  record.lfPitchAndFamily = 0;
  record.lfWeight = 0;
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi == 0) {
    dpi = 1;
  }
  record.lfHeight = static_cast<LONG>(-(static_cast<double>(size) / dpi) * 72);
  // The face is narrow text in the locale's encoding; faces are ASCII in practice, and each
  // byte becomes one character.
  int i = 0;
  for (; faceName[i] != '\0' && i < LF_FACESIZE - 1; ++i) {
    record.lfFaceName[i] = static_cast<unsigned char>(faceName[i]);
  }
  record.lfFaceName[i] = 0;
  SetFontIndirect(control, record);
}

void MWnd::SetFontIndirect(HWND control, const LOGFONT& logFont) {
  HFONT font = CreateFontIndirect(&logFont);
  HFONT replaced = font_;
  logFont_ = logFont;
  font_ = font;
  ApplyFont(control, font);
  if (replaced != nullptr) {
    DeleteObject(replaced);
  }
}

void MWnd::ApplyFont(HWND control, HFONT font) {
  SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
