// A test window whose procedure is a lambda, kept in the window's GWL_USERDATA.
#pragma once

#include <functional>

#include "platform/message_queue.h"

using MessageHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

inline LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCT*>(lParam);
    SetWindowLongPtr(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtr(window, GWL_USERDATA));
  if (handler != nullptr && *handler) {
    return (*handler)(window, message, wParam, lParam);
  }
  return DefWindowProc(window, message, wParam, lParam);
}

// A message-only window of the calling thread; `handler` must outlive it.
inline HWND MakeTestWindow(MessageHandler* handler, const char* name = "") {
  RegisterClass("JTESTWND", TestWindowProc);
  return CreateWindowEx("JTESTWND", name, HWND_MESSAGE, handler);
}

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kStop = WM_USER + 2;
