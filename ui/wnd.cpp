// MWnd: construction, creation, the child list, visibility, closing and fitting to the screen.
#include "ui/wnd.h"

#include <algorithm>

#include "ui/frame_link.h"
#include "ui/wnd_stack.h"

namespace {

// Copies at most kWindowNameSize - 1 characters and a terminator.
void CopyName(WCHAR* target, const WCHAR* source) {
  int i = 0;
  for (; source != nullptr && source[i] != 0 && i < kWindowNameSize - 1; ++i) {
    target[i] = source[i];
  }
  target[i] = 0;
}

}  // namespace

MWnd::MWnd(const WCHAR* name, HINSTANCE instance, const WCHAR* className, MWndStack* stack,
           const LOGFONT& logFont)
    : instance_(instance), logFont_(logFont), stack_(stack) {
  InitializeCriticalSection(&lock_);
  CopyName(name_, name);
  CopyName(className_, className);
  if (stack_ != nullptr) {
    stack_->Add(this);
  }
}

MWnd::~MWnd() {
  if (font_ != nullptr) {
    DeleteObject(font_);
  }
  DeleteCriticalSection(&lock_);
}

HWND MWnd::Create(MWnd* parentWnd, int iconId, int menuBarId) {
  if (!registered_) {
    parent_ = parentWnd;
    parentHwnd_ = parentWnd != nullptr ? parentWnd->GetHwnd() : nullptr;
    WNDCLASS windowClass{0,         MWndSharedProc,
                         0,         0,
                         instance_, LoadIcon(instance_, iconId),
                         nullptr,   static_cast<HBRUSH>(GetStockObject(COLOR_WINDOW)),
                         nullptr,   className_};
    RegisterClassW(&windowClass);
    registered_ = true;
    menuBarId_ = menuBarId;
  }
  RECT client{0, 0, 0, 0};
  if (parentHwnd_ != nullptr) {
    GetClientRect(parentHwnd_, &client);
  }
  DWORD style;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  if (parentHwnd_ != nullptr) {
    style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    x = 0;
    y = 0;
    width = client.right - client.left;
    height = client.bottom;
  } else {
    style = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  }
  hwnd_ = CreateWindowExW(0, className_, name_, style, x, y, width, height, parentHwnd_, nullptr,
                          instance_, nullptr);
  return hwnd_;
}

void MWnd::AddChildHwnd(HWND child) {
  EnterCriticalSection(&lock_);
  children_.push_back(child);
  LeaveCriticalSection(&lock_);
}

void MWnd::RemoveChildHwnd(HWND child) {
  EnterCriticalSection(&lock_);
  auto found = std::find(children_.begin(), children_.end(), child);
  if (found != children_.end()) {
    children_.erase(found);
  }
  LeaveCriticalSection(&lock_);
}

bool MWnd::HasChildHwnd(HWND child) {
  EnterCriticalSection(&lock_);
  bool found = std::find(children_.begin(), children_.end(), child) != children_.end();
  LeaveCriticalSection(&lock_);
  return found;
}

std::vector<HWND> MWnd::ChildHwnds() {
  EnterCriticalSection(&lock_);
  std::vector<HWND> copy = children_;
  LeaveCriticalSection(&lock_);
  return copy;
}

HWND MWnd::AddControl(const WCHAR* className, const WCHAR* text, int id, DWORD style) {
  HWND control =
      CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 10, 10, hwnd_,
                      reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), instance_, nullptr);
  AddChildHwnd(control);
  return control;
}

void MWnd::ShowChildren() {
  for (HWND child : ChildHwnds()) {
    ShowWindow(child, SW_SHOW);
  }
}

void MWnd::HideChildren() {
  for (HWND child : ChildHwnds()) {
    ShowWindow(child, SW_HIDE);
  }
}

void MWnd::ShowWithChildren(int command) {
  ShowWindow(hwnd_, command);
  if (command == SW_HIDE) {
    HideChildren();
  } else {
    ShowChildren();
  }
}

bool MWnd::IsTopWindow() {
  return stack_ != nullptr && stack_->Top() == this;
}

void MWnd::Close() {
  SendMessage(hwnd_, WM_CLOSE, 0, 0);
  DestroyWindow(hwnd_);
  if (stack_ == nullptr) {
    return;
  }
  stack_->Remove(this);
  if (MWnd* front = stack_->Top()) {
    stack_->BringToFront(front);
  }
}

void MWnd::BringToFront() {
  if (stack_ != nullptr) {
    stack_->BringToFront(this);
  }
}

void MWnd::SendToBack() {
  if (stack_ != nullptr) {
    stack_->SendToBack(this);
  }
}

void MWnd::Show() {
  BringToFront();
}

void MWnd::Present() {
  EnterCriticalSection(&lock_);
  ShowWindow(hwnd_, SW_SHOW);
  for (HWND child : children_) {
    ShowWindow(child, SW_SHOW);
  }
  SetActiveWindow(hwnd_);
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (stack_ != nullptr) {
    stack_->MoveToFront(this);
  }
  LeaveCriticalSection(&lock_);
}

void MWnd::Reset() {}

void MWnd::Relayout() {}

void MWnd::FitToScreen() {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  if (parentHwnd_ != nullptr) {
    RECT rect{0, 0, 0, 0};
    GetWindowRect(hwnd_, &rect);
    MoveWindow(hwnd_, rect.left, 0, width, height, TRUE);
  } else {
    int top = GetSystemMetrics(SM_CYMENU) + 2 * GetSystemMetrics(SM_CYEDGE);
    MoveWindow(hwnd_, 0, top, width, height, TRUE);
  }
}

void MWnd::OnActivate(WORD) {}

BOOL MWnd::PostEnableMenuItem(UINT itemId, UINT flags) {
  auto* record = new MenuItemRecord{itemId, flags, 0};
  BOOL posted = PostMessage(hwnd_, WM_MWND_ENABLEMENUITEM, 0, reinterpret_cast<LPARAM>(record));
  if (!posted) {
    delete record;  // nobody will receive it
  }
  return posted;
}

LRESULT MWnd::SendCheckMenuItem(UINT itemId, UINT flags) {
  auto* record = new MenuItemRecord{itemId, flags, 0};
  if (!IsWindow(hwnd_)) {
    delete record;
    return 0;
  }
  return SendMessage(hwnd_, WM_MWND_CHECKMENUITEM, 0, reinterpret_cast<LPARAM>(record));
}

BOOL MWnd::PostShow(MWnd* window) {
  if (FrameWindow() == nullptr) {
    return FALSE;  // a null window would make it a message to this thread's own queue
  }
  return PostMessage(FrameWindow(), WM_MWND_SHOW, 0, reinterpret_cast<LPARAM>(window));
}
