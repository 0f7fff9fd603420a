// MWnd: the base of every screen. It binds the object to its HWND, receives the messages of
// its window and of the child controls in its child list through the shared window procedure,
// and offers what all windows share: bring to front, send to back, close, fit to the screen,
// fonts, and the two ways other threads hand work to the user-interface thread.
#pragma once

#include <vector>

#include "platform/critical_section.h"
#include "platform/gdi.h"
#include "platform/window.h"

class MWndStack;

// Application messages of the framework.
constexpr UINT WM_MWND_SHOW = WM_USER + 74;              // 1098, lParam: the MWnd to show
constexpr UINT WM_MWND_ENABLEMENUITEM = WM_USER + 1000;  // 2024, lParam: MenuItemRecord*
constexpr UINT WM_MWND_CHECKMENUITEM = WM_USER + 1001;   // 2025, lParam: MenuItemRecord*

// The three words sent with the two menu messages; the receiver frees it.
struct MenuItemRecord {
  UINT itemId;
  UINT flags;
  UINT unused;
};

constexpr int kWindowNameSize = 255;

class MWnd {
 public:
  MWnd(const WCHAR* name, HINSTANCE instance, const WCHAR* className, MWndStack* stack,
       const LOGFONT& logFont);
  // Not virtual, as the framework always had it: windows are deleted through their own type.
  ~MWnd();
  MWnd(const MWnd&) = delete;
  MWnd& operator=(const MWnd&) = delete;

  // The virtual operations, in their historical order.
  virtual void Close();
  virtual void BringToFront();
  virtual void SendToBack();
  virtual void Show();
  virtual void Present();
  virtual void Reset();
  virtual void Relayout();
  virtual void FitToScreen();
  virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  virtual void SetFont(HWND control, const char* faceName, int size);
  virtual void SetFontIndirect(HWND control, const LOGFONT& logFont);
  virtual void ApplyFont(HWND control, HFONT font);
  virtual void OnActivate(WORD state);

  // Registers the class on first use and creates the window: a child filling the parent's
  // client area, or a top-level window. Returns the HWND (null on failure).
  HWND Create(MWnd* parentWnd, int iconId, int menuBarId);

  HWND GetHwnd() const { return hwnd_; }
  HINSTANCE GetInstance() const { return instance_; }
  const WCHAR* GetName() const { return name_; }
  const WCHAR* GetClassName() const { return className_; }
  MWnd* GetParent() const { return parent_; }
  HWND GetParentHwnd() const { return parentHwnd_; }
  const LOGFONT& GetLogFont() const { return logFont_; }
  HFONT GetFontHandle() const { return font_; }
  int GetMenuBarId() const { return menuBarId_; }
  MWndStack* GetStack() const { return stack_; }

  // Creates a child control of this window (style: WS_CHILD is added) and keeps it with the
  // window's children.
  HWND AddControl(const WCHAR* className, const WCHAR* text, int id, DWORD style);
  void AddChildHwnd(HWND child);
  void RemoveChildHwnd(HWND child);
  bool HasChildHwnd(HWND child);
  std::vector<HWND> ChildHwnds();
  void ShowChildren();
  void HideChildren();
  // Shows or hides the window and its children (the stack's bring-to-front and send-to-back).
  void ShowWithChildren(int command);

  bool IsTopWindow();

  // Asks the window (from any thread) to enable or check a menu item of the command menu.
  BOOL PostEnableMenuItem(UINT itemId, UINT flags);
  LRESULT SendCheckMenuItem(UINT itemId, UINT flags);
  // Asks the main frame (from any thread) to call `window`'s Show on the UI thread.
  static BOOL PostShow(MWnd* window);

 protected:
  LRESULT DefaultWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  CRITICAL_SECTION lock_;  // guards the child list
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HWND parentHwnd_ = nullptr;
  LOGFONT logFont_;
  HFONT font_ = nullptr;
  WCHAR className_[kWindowNameSize];
  WCHAR name_[kWindowNameSize];
  bool registered_ = false;
  MWnd* parent_ = nullptr;
  std::vector<HWND> children_;
  int menuBarId_ = 0;
  MWndStack* stack_;
};
