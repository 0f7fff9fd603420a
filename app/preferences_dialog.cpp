// Preferences (dialog 1088 "orvik Setup"): the service accounts with their setup, the
// Advanced dialog and the four sound switches. What the accounts' setup changed is acted on
// after the dialog: a changed XMPP account reconnects, a changed gateway account registers.
#include "app/app.h"
#include "app/login_wnd.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"

namespace {

constexpr int kServiceCombo = 1001;
constexpr int kServiceSetup = 1004;
constexpr int kAdvanced = 1019;
constexpr int kSoundSupport = 1014;
constexpr int kSoundEnter = 8017;
constexpr int kSoundFirstMessage = 1017;
constexpr int kSoundMessage = 1018;

void FillServices(HWND dialog, MSettings& settings) {
  for (std::size_t i = 0; i < settings.ServiceAccountCount(); ++i) {
    wmstring name = settings.ServiceAccount(i)->GetName();
    SendDlgItemMessage(dialog, kServiceCombo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendDlgItemMessage(dialog, kServiceCombo, CB_SETCURSEL, 0, 0);
}

void InitPreferences(HWND dialog, MSettings& settings) {
  settings.Load();
  FillServices(dialog, settings);
  SetChecked(dialog, kSoundSupport, settings.soundSupport);
  SetChecked(dialog, kSoundEnter, settings.soundEnterSupport);
  SetChecked(dialog, kSoundFirstMessage, settings.soundFirstMessageSupport);
  SetChecked(dialog, kSoundMessage, settings.soundMessageSupport);
}

void SetUpChosenService(HWND dialog, MSettings& settings) {
  wmstring name = DialogText(dialog, kServiceCombo);
  if (IJabberService* account = settings.FindServiceAccountByName(name.c_str())) {
    account->Setup(dialog);
  }
}

LRESULT PreferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  MSettings& settings = *App()->settings;
  if (message == WM_INITDIALOG) {
    InitPreferences(dialog, settings);
    return TRUE;
  }
  if (message != WM_COMMAND) {
    return FALSE;
  }
  switch (LOWORD(wParam)) {
    case kServiceSetup:
      SetUpChosenService(dialog, settings);
      return TRUE;
    case kAdvanced:
      AdvancedDialog(dialog);
      return TRUE;
    case IDOK:
      settings.soundSupport = IsChecked(dialog, kSoundSupport);
      settings.soundEnterSupport = IsChecked(dialog, kSoundEnter);
      settings.soundFirstMessageSupport = IsChecked(dialog, kSoundFirstMessage);
      settings.soundMessageSupport = IsChecked(dialog, kSoundMessage);
      EndDialog(dialog, IDOK);
      settings.Save();
      return TRUE;
    default:
      return FALSE;
  }
}

// A changed XMPP account takes effect at once: the login window shows it and a running
// session is replaced by one with the new values. Otherwise changed gateway accounts register
// with their gateways.
void ApplyAccountChanges(MApp& app) {
  MSettings& settings = *app.settings;
  IJabberService* jabber = settings.FindServiceAccount(u"jud");
  if (jabber != nullptr && jabber->TakeChanged()) {
    RefreshLoginWindow();
    if (app.routes().IsConnected()) {
      app.ShowLogWindow();
      app.routes().Relogin();
    }
    return;
  }
  for (std::size_t i = 0; i < settings.ServiceAccountCount(); ++i) {
    IJabberService* account = settings.ServiceAccount(i);
    if (account->TakeChanged()) {
      app.routes().RegisterWithGateway(account);
    }
  }
}

}  // namespace

void PreferencesDialog() {
  MApp* app = App();
  if (app == nullptr || app->settings == nullptr) {
    return;
  }
  static const DIALOGITEM items[] = {
      {WC_STATIC, u"Service:", kNoId, SS_LEFT, kMargin, RowY(0), kLabelWidth, kRowHeight},
      {WC_COMBOBOX, u"", kServiceCombo, CBS_DROPDOWNLIST, kFieldX, RowY(0), kFieldWidth,
       kRowHeight},
      {WC_BUTTON, u"Setup", kServiceSetup, BS_PUSHBUTTON, kFieldX, RowY(1), kButtonWidth,
       kRowHeight},
      {WC_BUTTON, u"Play notification sounds", kSoundSupport, BS_AUTOCHECKBOX, kMargin, RowY(2) + 8,
       kCheckWidth, kRowHeight},
      {WC_BUTTON, u"User enters/exits", kSoundEnter, BS_AUTOCHECKBOX, kMargin + 24, RowY(3) + 8,
       kCheckWidth - 24, kRowHeight},
      {WC_BUTTON, u"First message received", kSoundFirstMessage, BS_AUTOCHECKBOX, kMargin + 24,
       RowY(4) + 8, kCheckWidth - 24, kRowHeight},
      {WC_BUTTON, u"Message received", kSoundMessage, BS_AUTOCHECKBOX, kMargin + 24, RowY(5) + 8,
       kCheckWidth - 24, kRowHeight},
      {WC_BUTTON, u"Advanced...", kAdvanced, BS_PUSHBUTTON, kMargin, RowY(6) + 16, kButtonWidth,
       kRowHeight}};
  static const DIALOGTEMPLATE preferences{u"orvik Setup", items,
                                          static_cast<int>(std::size(items))};
  RunSetupDialog(preferences, nullptr, PreferencesProc);
  ApplyAccountChanges(*app);
}
