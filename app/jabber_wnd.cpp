// MJabberWnd: creation with its menu bar, the menu update and the common message box.
#include "app/jabber_wnd.h"

#include "app/app.h"
#include "app/app_messages.h"
#include "app/unbuilt_commands.h"
#include "platform/message_box.h"
#include "platform/window_placement.h"
#include "ui/frame_link.h"

namespace {

// On the desktop the frame is an ordinary resizable window; below this the menu bar's
// buttons and a line of the log no longer fit.
constexpr int kMinimumWidth = 320;
constexpr int kMinimumHeight = 400;
constexpr const WCHAR* kPlacementKey = u"Software\\orvik\\Window";

// Enables or greys an item and its button, but never makes an unbuilt command available.
void EnableCommand(UINT command, UINT flags) {
  if (IsUnbuiltCommand(command) && (flags & (MF_GRAYED | MF_DISABLED)) == 0) {
    return;
  }
  FrameEnableMenuItem(command, flags);
}

constexpr MENUBARBUTTON kButtons[] = {
    {0, 101, true}, {1, 102, true}, {2, 65002, true}, {3, 65001, true}, {4, 113, true}};

// One text per button of the bar, in bar order: the three menu buttons have none.
constexpr const WCHAR* kTooltips[] = {u"",
                                      u"",
                                      u"",
                                      u"Connection Status",
                                      u"Encryption Status",
                                      u"Roster Window",
                                      u"Active Chats Window",
                                      u"GPS Status"};

}  // namespace

MJabberWnd::MJabberWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont, MApp* app)
    : MWnd(kFrameTitle, instance, kFrameClass, stack, logFont), app_(app) {}

HWND MJabberWnd::Create() {
  if (MWnd::Create(nullptr, kFrameIcon, kFrameMenu) == nullptr) {
    return nullptr;
  }
  HICON icon = LoadIcon(instance_, kFrameIcon);
  SendMessage(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessage(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  CreateMenuBarWithButtons();
  SetFrameLink(hwnd_, menuBar_);
  GreyUnbuiltCommands(menuBar_);
  SetWindowMinimumSize(hwnd_, kMinimumWidth, kMinimumHeight);
  RememberWindowPlacement(hwnd_, HKEY_LOCAL_MACHINE, kPlacementKey);
  ShowWindow(hwnd_, SW_SHOW);
  return hwnd_;
}

void MJabberWnd::CreateMenuBarWithButtons() {
  menuBar_ = CreateMenuBar(hwnd_, LoadFrameMenu());
  if (menuBar_ == nullptr) {
    return;
  }
  MenuBarAddImageButtons(menuBar_, instance_, kFrameButtons, 16, kButtons,
                         static_cast<int>(std::size(kButtons)));
  MenuBarSetTooltips(menuBar_, kTooltips, static_cast<int>(std::size(kTooltips)));
}

// On the desktop the frame can be resized: its child windows keep filling its client area.
void MJabberWnd::FitChildren() {
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  for (MWnd* window : stack_->Snapshot()) {
    if (window->GetParent() == this && window->GetHwnd() != nullptr) {
      MoveWindow(window->GetHwnd(), 0, 0, client.right, client.bottom, TRUE);
      window->Relayout();
    }
  }
}

void MJabberWnd::UpdateMenu(WPARAM state, bool encrypted) {
  HANDLE mutex = app_->CreateAppMutex("IMENUMUTEX", true);
  if (mutex == nullptr) {
    return;
  }
  WaitForSingleObject(mutex, INFINITE);
  EnableCommand(65002, MF_ENABLED);
  EnableCommand(65001, MF_ENABLED);
  if (state == kSessionPolling || state == kSessionOnline) {
    EnableCommand(101, MF_ENABLED);
    EnableCommand(40027, MF_ENABLED);
    EnableCommand(40008, MF_GRAYED);
    EnableCommand(102, encrypted ? MF_ENABLED : MF_GRAYED);
  } else if (state == 2 || state == kSessionConnecting) {
    EnableCommand(40027, MF_ENABLED);
    EnableCommand(40008, MF_GRAYED);
    EnableCommand(101, MF_ENABLED);
  } else {
    EnableCommand(40008, MF_ENABLED);
    EnableCommand(40027, MF_GRAYED);
    EnableCommand(101, MF_GRAYED);
    EnableCommand(102, MF_GRAYED);
  }
  app_->CloseAppMutex(mutex);
}

void ShowAppMessage(HWND owner, const wmstring& text) {
  wmstring shown = text.substr(0, 1023);
  if (owner == nullptr) {
    owner = FrameWindow();
  }
  MessageBoxW(owner, shown.c_str(), kFrameTitle,
              MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
}
