// MLoginWnd: creation, layout, painting, the two buttons and the arrow-key focus cycle.
#include "app/login_wnd.h"

#include <algorithm>

#include "app/app.h"
#include "app/jabber_wnd.h"
#include "app/server_address.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "ui/wnd_stack.h"

namespace {

// The form: a label column and a field column, centred below the logo.
constexpr int kLabelWidth = 110;
constexpr int kFieldWidth = 260;
constexpr int kGap = 8;
constexpr int kFormWidth = kLabelWidth + kGap + kFieldWidth;
constexpr int kRowHeight = 26;
constexpr int kRowStep = 36;
constexpr int kButtonWidth = 80;
constexpr int kLogoTop = 16;

// The focus cycle of the Down key; Up walks it backwards.
constexpr int kFocusCycle[] = {kLoginServerEdit, kLoginUserEdit, kLoginPasswordEdit,
                               kLoginAutoLogin};

wmstring ControlText(HWND control) {
  WCHAR text[256];  // at most 255 characters are taken from each edit
  GetWindowTextW(control, text, 256);
  return wmstring(text);
}

}  // namespace

MLoginWnd::MLoginWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont)
    : MWnd(kLoginWindowName, instance, kLoginWindowName, stack, logFont) {}

MLoginWnd::~MLoginWnd() {
  if (logoDc_ != nullptr) {
    DeleteDC(logoDc_);
  }
  if (logo_ != nullptr) {
    DeleteObject(logo_);
  }
}

HWND MLoginWnd::Create(MWnd* parentWnd, int iconId, int menuBarId) {
  if (MWnd::Create(parentWnd, iconId, menuBarId) == nullptr) {
    return nullptr;
  }
  AddControl(WC_STATIC, u"Servername:", 0, WS_VISIBLE | WS_TABSTOP | SS_LEFT);
  AddControl(WC_EDIT, u"", kLoginServerEdit, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL);
  AddControl(WC_STATIC, u"Username:", 0, WS_VISIBLE | WS_TABSTOP | SS_LEFT);
  AddControl(WC_EDIT, u"", kLoginUserEdit, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL);
  AddControl(WC_STATIC, u"Password:", 0, WS_VISIBLE | WS_TABSTOP | SS_LEFT);
  AddControl(WC_EDIT, u"", kLoginPasswordEdit,
             WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD);
  AddControl(WC_BUTTON, u"Setup", kLoginSetup, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
  AddControl(WC_BUTTON, u"Connect", kLoginConnect, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
  AddControl(WC_BUTTON, u"Auto Login", kLoginAutoLogin, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX);
  // The arrow keys reach this window before the controls of the focus cycle handle them.
  for (std::size_t i = 0; i < std::size(kFocusCycle); ++i) {
    HWND control = Control(kFocusCycle[i]);
    SetWindowLongPtr(control, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controlProcs_[i] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(control, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
  }
  logoDc_ = CreateLogo(&logo_);
  SetFontIndirect(hwnd_, logFont_);
  Relayout();
  Refresh();
  return hwnd_;
}

HWND MLoginWnd::Control(int id) const {
  return hwnd_ != nullptr ? GetDlgItem(hwnd_, id) : nullptr;
}

void MLoginWnd::Refresh() {
  MApp* app = App();
  if (hwnd_ == nullptr || app == nullptr || app->settings == nullptr) {
    return;
  }
  if (IJabberService* account = app->settings->FindServiceAccount(u"jud")) {
    SetWindowTextW(Control(kLoginServerEdit), account->GetServer().c_str());
    SetWindowTextW(Control(kLoginUserEdit), account->GetUsername().c_str());
    SetWindowTextW(Control(kLoginPasswordEdit), account->GetPassword().c_str());
  }
  SendMessage(Control(kLoginAutoLogin), BM_SETCHECK,
              app->settings->loginOnStartup ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MLoginWnd::Relayout() {
  if (hwnd_ == nullptr) {
    return;
  }
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  int left = std::max<int>(16, (client.right - kFormWidth) / 2);
  int fieldX = left + kLabelWidth + kGap;
  int top = kLogoTop + kLogoHeight + 24;
  std::vector<HWND> controls = ChildHwnds();
  // Labels and fields in creation order: three rows of label and edit.
  for (int row = 0; row < 3 && static_cast<std::size_t>(2 * row + 1) < controls.size(); ++row) {
    int y = top + row * kRowStep;
    MoveWindow(controls[2 * row], left, y, kLabelWidth, kRowHeight, TRUE);
    MoveWindow(controls[2 * row + 1], fieldX, y, kFieldWidth, kRowHeight, TRUE);
  }
  MoveWindow(Control(kLoginAutoLogin), fieldX, top + 3 * kRowStep, kFieldWidth, kRowHeight, TRUE);
  int buttonsY = top + 3 * kRowStep + kRowStep + 8;
  int connectX = fieldX + kFieldWidth - kButtonWidth;
  MoveWindow(Control(kLoginConnect), connectX, buttonsY, kButtonWidth, kRowHeight, TRUE);
  MoveWindow(Control(kLoginSetup), connectX - kButtonWidth - 12, buttonsY, kButtonWidth, kRowHeight,
             TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MLoginWnd::BringToFront() {
  MWnd::BringToFront();
  HWND focus = GetFocus();
  if (focus == nullptr || !HasChildHwnd(focus)) {
    SetFocus(Control(kLoginServerEdit));
  }
}

// The controls take the window's font, so the Fonts dialog changes the whole form.
void MLoginWnd::ApplyFont(HWND, HFONT font) {
  for (HWND control : ChildHwnds()) {
    MWnd::ApplyFont(control, font);
  }
}

void MLoginWnd::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (logoDc_ != nullptr) {
    BitBlt(dc, (client.right - kLogoWidth) / 2, kLogoTop, kLogoWidth, kLogoHeight, logoDc_, 0, 0,
           SRCCOPY);
  }
  EndPaint(hwnd_, &paint);
}

void MLoginWnd::Connect() {
  MApp* app = App();
  if (app == nullptr || app->settings == nullptr) {
    return;
  }
  wmstring server = ControlText(Control(kLoginServerEdit));
  wmstring user = ControlText(Control(kLoginUserEdit));
  wmstring password = ControlText(Control(kLoginPasswordEdit));
  if (IJabberService* account = app->settings->FindServiceAccount(u"jud")) {
    account->SetUsername(user);
    account->SetPassword(password);
    account->SetServer(server);
    account->Save();
  }
  bool automatic = SendMessage(Control(kLoginAutoLogin), BM_GETCHECK, 0, 0) == BST_CHECKED;
  app->settings->SetLoginOnStartup(automatic);
  if (!user.empty() && ValidServerAndPort(server)) {
    app->ShowLogWindow();
    app->routes().Login(true);
    return;
  }
  app->settings->SetLoginOnStartup(false);
  SendMessage(Control(kLoginAutoLogin), BM_SETCHECK, BST_UNCHECKED, 0);
  Show();
  ShowAppMessage(nullptr, u"Please enter a valid servername and username.");
}

bool MLoginWnd::MoveFocus(HWND from, WPARAM key) {
  int count = static_cast<int>(std::size(kFocusCycle));
  for (int i = 0; i < count; ++i) {
    if (Control(kFocusCycle[i]) == from) {
      int next = key == VK_DOWN ? (i + 1) % count : (i + count - 1) % count;
      SetFocus(Control(kFocusCycle[next]));
      return true;
    }
  }
  return false;
}

WNDPROC MLoginWnd::OwnProcedure(HWND control) const {
  for (std::size_t i = 0; i < std::size(kFocusCycle); ++i) {
    if (Control(kFocusCycle[i]) == control) {
      return controlProcs_[i];
    }
  }
  return nullptr;
}

LRESULT MLoginWnd::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<MLoginWnd*>(GetWindowLongPtr(hwnd, GWL_USERDATA));
  WNDPROC own = window != nullptr ? window->OwnProcedure(hwnd) : nullptr;
  if (own == nullptr) {
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) &&
      window->MoveFocus(hwnd, wParam)) {
    return 0;
  }
  return CallWindowProc(own, hwnd, message, wParam, lParam);
}

LRESULT MLoginWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      if (hwnd == hwnd_) {
        Paint();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (hwnd == hwnd_) {
        return 1;
      }
      break;
    case WM_SIZE:
      if (hwnd == hwnd_) {
        Relayout();
      }
      break;
    case WM_KEYDOWN:
      if ((wParam == VK_UP || wParam == VK_DOWN) && MoveFocus(GetFocus(), wParam)) {
        return 0;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kLoginConnect:
          Connect();
          return 0;
        case kLoginSetup:
          PreferencesDialog();
          Show();
          return 0;
        case 40013:
        case 40249:
          if (App() != nullptr && App()->mainFrame != nullptr) {
            SendMessage(App()->mainFrame->GetHwnd(), WM_COMMAND, wParam, lParam);
          }
          return 0;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return MWnd::WindowProc(hwnd, message, wParam, lParam);
}

void RefreshLoginWindow() {
  MApp* app = App();
  MWnd* window = app != nullptr ? app->windows.FindByName(kLoginWindowName) : nullptr;
  if (auto* login = dynamic_cast<MLoginWnd*>(window)) {
    login->Refresh();
  }
}
