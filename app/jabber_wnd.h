// MJabberWnd: the main frame. It owns the bottom menu bar (the three menus of resource 129 and
// five status buttons), receives every command, and is the one place where work from other
// threads reaches the user-interface thread: its window procedure carries out the application
// messages (app_messages.h).
#pragma once

#include "ui/wnd.h"
#include "xml/wmstring.h"

class MApp;

class MJabberWnd : public MWnd {
 public:
  MJabberWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont, MApp* app);

  // Creates the window with icon 101, the menu bar of resource 129 and its image buttons, and
  // shows it. Null on failure.
  HWND Create();
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  HWND GetMenuBar() const { return menuBar_; }
  // The menu update for a session state (UM_UPDATE_MENU), under "IMENUMUTEX".
  void UpdateMenu(WPARAM state, bool encrypted);

 private:
  LRESULT OnCommand(HWND hwnd, UINT command, WPARAM wParam, LPARAM lParam);
  LRESULT OnApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
  void PassToFrontWindow(UINT message, WPARAM wParam, LPARAM lParam);
  // Whether the front window is the log or the login window (which take no contact commands).
  bool FrontIsStatusScreen();
  void CreateMenuBarWithButtons();
  void FitChildren();

  MApp* app_;
  HWND menuBar_ = nullptr;
};

// The menu of resource 129.
HMENU LoadFrameMenu();
// The common message box: the text, caption "orvik Messenger", exclamation icon, set to the
// foreground and topmost, owned by `owner` (the main frame when null). The text is cut to 1023
// characters.
void ShowAppMessage(HWND owner, const wmstring& text);
