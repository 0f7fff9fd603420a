// Advanced (dialog 122 "Advanced Setup"): automatic login, popups, encryption, bringing the
// program forward on a message, and the way to the proxy setup.
#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"

namespace {

constexpr int kLoginOnStartup = 1023;
constexpr int kEnablePopups = 1056;
constexpr int kEncryptSessions = 1025;
constexpr int kBringToFront = 1022;
constexpr int kProxySetup = 1029;
constexpr int kLbsSetup = 1031;

LRESULT AdvancedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  MSettings& settings = *App()->settings;
  if (message == WM_INITDIALOG) {
    SetChecked(dialog, kLoginOnStartup, settings.loginOnStartup);
    SetChecked(dialog, kEnablePopups, settings.enablePopups);
    SetChecked(dialog, kEncryptSessions, settings.encryptSessions);
    SetChecked(dialog, kBringToFront, settings.bringToFront);
    return TRUE;
  }
  if (message != WM_COMMAND) {
    return FALSE;
  }
  if (LOWORD(wParam) == kProxySetup) {
    ProxyDialog(dialog);
    return TRUE;
  }
  if (LOWORD(wParam) == kLbsSetup) {
    App()->routes().LocationSetupDialog(dialog);
    return TRUE;
  }
  if (LOWORD(wParam) == IDOK) {
    settings.SetLoginOnStartup(IsChecked(dialog, kLoginOnStartup));
    settings.enablePopups = IsChecked(dialog, kEnablePopups);
    settings.encryptSessions = IsChecked(dialog, kEncryptSessions);
    settings.bringToFront = IsChecked(dialog, kBringToFront);
    EndDialog(dialog, IDOK);
    settings.Save();
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void AdvancedDialog(HWND owner) {
  if (App() == nullptr || App()->settings == nullptr) {
    return;
  }
  static const DIALOGITEM items[] = {
      {WC_BUTTON, u"Login on startup", kLoginOnStartup, BS_AUTOCHECKBOX, kMargin, RowY(0),
       kCheckWidth, kRowHeight},
      {WC_BUTTON, u"Enable notification Popups", kEnablePopups, BS_AUTOCHECKBOX, kMargin, RowY(1),
       kCheckWidth, kRowHeight},
      {WC_BUTTON, u"Encrypt sessions", kEncryptSessions, BS_AUTOCHECKBOX, kMargin, RowY(2),
       kCheckWidth, kRowHeight},
      {WC_BUTTON, u"Bring to front on message", kBringToFront, BS_AUTOCHECKBOX, kMargin, RowY(3),
       kCheckWidth, kRowHeight},
      {WC_BUTTON, u"Proxy Setup...", kProxySetup, BS_PUSHBUTTON, kMargin, RowY(4) + 16,
       kButtonWidth, kRowHeight},
      {WC_BUTTON, u"LBS Setup...", kLbsSetup, BS_PUSHBUTTON, kMargin + kButtonWidth + 16,
       RowY(4) + 16, kButtonWidth, kRowHeight}};
  static const DIALOGTEMPLATE advanced{u"Advanced Setup", items,
                                       static_cast<int>(std::size(items))};
  RunSetupDialog(advanced, owner, AdvancedProc);
}
