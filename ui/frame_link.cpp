#include "ui/frame_link.h"

#include <atomic>

namespace {
std::atomic<HWND> frameWindow{nullptr};
std::atomic<HWND> frameMenuBar{nullptr};
}  // namespace

void SetFrameLink(HWND frame, HWND menuBar) {
  frameWindow.store(frame);
  frameMenuBar.store(menuBar);
}

HWND FrameWindow() {
  return frameWindow.load();
}

HWND FrameMenuBar() {
  return frameMenuBar.load();
}

void FrameEnableMenuItem(UINT itemId, UINT flags) {
  HWND bar = frameMenuBar.load();
  if (bar == nullptr) {
    return;
  }
  EnableMenuItem(MenuBarMenu(bar), itemId, flags);
  MenuBarEnableButton(bar, itemId, (flags & (MF_GRAYED | MF_DISABLED)) == 0 ? TRUE : FALSE);
}

void FrameCheckMenuItem(UINT itemId, UINT flags) {
  HWND bar = frameMenuBar.load();
  if (bar != nullptr) {
    CheckMenuItem(MenuBarMenu(bar), itemId, flags);
  }
}
