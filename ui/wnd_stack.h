// MWndStack: the application's open windows in order, the window the user sees first. The
// list does not own the windows. Its lookups map an HWND (a window's own or one of its child
// controls') to the window object, which is how the shared window procedure routes messages.
#pragma once

#include <vector>

#include "platform/critical_section.h"
#include "platform/window.h"

class MWnd;

class MWndStack {
 public:
  // The newest stack is the one the shared window procedure dispatches through.
  MWndStack();
  ~MWndStack();
  MWndStack(const MWndStack&) = delete;
  MWndStack& operator=(const MWndStack&) = delete;

  void Add(MWnd* window);
  void Remove(MWnd* window);
  MWnd* Top();
  void MoveToFront(MWnd* window);
  // Exact, case-sensitive comparison of the window name; the first match or null.
  MWnd* FindByName(const WCHAR* name);
  // The first window whose HWND is `window` or whose child list holds it.
  MWnd* FindByHwnd(HWND window);
  MWnd* FindForeground();
  // Routes a message to the owning window's WindowProc, or to DefWindowProc when none owns it.
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Hides the windows in front of `window` that have a parent, shows it and moves it to the
  // front. Nothing when it is not in the list.
  void BringToFront(MWnd* window);
  // Shows the windows in front of `window`, hides it and moves it to the back, then asks the
  // main frame to show the new front window.
  void SendToBack(MWnd* window);

  // A copy of the list, front first (for walks whose handlers may reorder the stack).
  std::vector<MWnd*> Snapshot();
  bool Contains(MWnd* window);

  static MWndStack* Shared();

 private:
  CRITICAL_SECTION lock_;
  std::vector<MWnd*> windows_;
};

// The shared window procedure of every class the framework registers.
LRESULT MWndSharedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
