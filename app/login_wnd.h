// MLoginWnd: the login screen ("JLOGINWND"), a child of the main frame. It shows the logo, the
// XMPP account's server, user name and password with the automatic-login switch, and starts a
// login with "Connect" or the preferences with "Setup".
#pragma once

#include "ui/wnd.h"
#include "xml/wmstring.h"

constexpr const WCHAR* kLoginWindowName = u"JLOGINWND";

// The controls' ids ("Setup" and "Connect" are the commands the window reacts to).
constexpr int kLoginServerEdit = 1201;
constexpr int kLoginUserEdit = 1202;
constexpr int kLoginPasswordEdit = 1203;
constexpr int kLoginAutoLogin = 1204;
constexpr int kLoginSetup = 115;
constexpr int kLoginConnect = 116;

constexpr int kLogoWidth = 185;
constexpr int kLogoHeight = 52;

class MLoginWnd : public MWnd {
 public:
  MLoginWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont);
  ~MLoginWnd();

  // Creates the window filling `parentWnd`'s client area, its controls and the logo, and fills
  // the controls (Refresh). Returns the HWND (null on failure).
  HWND Create(MWnd* parentWnd, int iconId = 0, int menuBarId = 0);
  // Fills the three edits from the XMPP account and the check box from "LOGIN ON STARTUP".
  void Refresh();

  void BringToFront() override;
  void Relayout() override;
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyFont(HWND control, HFONT font) override;

  HWND Control(int id) const;

 private:
  void Paint();
  void Connect();
  // Up and Down move the focus round server, user name, password and "Auto Login".
  bool MoveFocus(HWND from, WPARAM key);
  WNDPROC OwnProcedure(HWND control) const;
  static LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HDC logoDc_ = nullptr;
  HBITMAP logo_ = nullptr;
  // The own procedures of the focus cycle's controls, for the messages this window leaves alone.
  WNDPROC controlProcs_[4] = {};
};

// Refreshes the login window when it exists (after a dialog changed the XMPP account).
void RefreshLoginWindow();
// Draws the program's logo (kLogoWidth x kLogoHeight) into a new context; the caller deletes
// both the context and the bitmap.
HDC CreateLogo(HBITMAP* bitmap);
