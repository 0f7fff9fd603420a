// MWndStack and the shared window procedure.
#include "ui/wnd_stack.h"

#include <algorithm>
#include <atomic>

#include "ui/wnd.h"
#include "xml/wmstring.h"

namespace {
std::atomic<MWndStack*> sharedStack{nullptr};

// Holds the stack's lock for one scope.
class StackLock {
 public:
  explicit StackLock(CRITICAL_SECTION* section) : section_(section) {
    EnterCriticalSection(section_);
  }
  ~StackLock() { LeaveCriticalSection(section_); }
  StackLock(const StackLock&) = delete;
  StackLock& operator=(const StackLock&) = delete;

 private:
  CRITICAL_SECTION* section_;
};
}  // namespace

MWndStack::MWndStack() {
  InitializeCriticalSection(&lock_);
  sharedStack.store(this);
}

MWndStack::~MWndStack() {
  MWndStack* self = this;
  sharedStack.compare_exchange_strong(self, nullptr);
  DeleteCriticalSection(&lock_);
}

MWndStack* MWndStack::Shared() {
  return sharedStack.load();
}

void MWndStack::Add(MWnd* window) {
  StackLock guard(&lock_);
  windows_.push_back(window);
}

void MWndStack::Remove(MWnd* window) {
  StackLock guard(&lock_);
  auto found = std::find(windows_.begin(), windows_.end(), window);
  if (found != windows_.end()) {
    windows_.erase(found);
  }
}

MWnd* MWndStack::Top() {
  StackLock guard(&lock_);
  return windows_.empty() ? nullptr : windows_.front();
}

void MWndStack::MoveToFront(MWnd* window) {
  StackLock guard(&lock_);
  auto found = std::find(windows_.begin(), windows_.end(), window);
  if (found != windows_.end()) {
    windows_.erase(found);
    windows_.insert(windows_.begin(), window);
  }
}

MWnd* MWndStack::FindByName(const WCHAR* name) {
  StackLock guard(&lock_);
  for (MWnd* window : windows_) {
    if (wide_compare(window->GetName(), name) == 0) {
      return window;
    }
  }
  return nullptr;
}

MWnd* MWndStack::FindByHwnd(HWND hwnd) {
  if (hwnd == nullptr) {
    return nullptr;
  }
  StackLock guard(&lock_);
  for (MWnd* window : windows_) {
    if (window->GetHwnd() == hwnd || window->HasChildHwnd(hwnd)) {
      return window;
    }
  }
  return nullptr;
}

MWnd* MWndStack::FindForeground() {
  return FindByHwnd(GetForegroundWindow());
}

bool MWndStack::Contains(MWnd* window) {
  StackLock guard(&lock_);
  return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

std::vector<MWnd*> MWndStack::Snapshot() {
  StackLock guard(&lock_);
  return windows_;
}

LRESULT MWndStack::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MWnd* owner = FindByHwnd(hwnd);
  if (owner == nullptr) {
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  return owner->WindowProc(hwnd, message, wParam, lParam);
}

void MWndStack::BringToFront(MWnd* window) {
  StackLock guard(&lock_);
  auto found = std::find(windows_.begin(), windows_.end(), window);
  if (found == windows_.end()) {
    return;
  }
  for (auto it = windows_.begin(); it != found; ++it) {
    if ((*it)->GetParent() != nullptr) {
      (*it)->ShowWithChildren(SW_HIDE);
    }
  }
  window->ShowWithChildren(SW_SHOW);
  // Siblings behind it may still be shown (top-level ones, or ones never hidden): the front
  // window goes over them, or a sibling created later would cover it.
  SetWindowPos(window->GetHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  windows_.erase(found);
  windows_.insert(windows_.begin(), window);
}

void MWndStack::SendToBack(MWnd* window) {
  MWnd* front = nullptr;
  {
    StackLock guard(&lock_);
    auto found = std::find(windows_.begin(), windows_.end(), window);
    if (found == windows_.end()) {
      return;
    }
    for (auto it = windows_.begin(); it != found; ++it) {
      (*it)->ShowWithChildren(SW_SHOW);
    }
    window->ShowWithChildren(SW_HIDE);
    windows_.erase(found);
    windows_.push_back(window);
    front = windows_.front();
  }
  MWnd::PostShow(front);
}

LRESULT MWndSharedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MWndStack* stack = MWndStack::Shared();
  if (stack == nullptr) {
    return DefWindowProc(window, message, wParam, lParam);
  }
  return stack->Dispatch(window, message, wParam, lParam);
}
