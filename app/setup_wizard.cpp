// The setup wizard (dialog 119 "Setup Wizard"): on the first start and from the menu, it asks
// which networks the user has accounts on, then runs the XMPP account's setup and the setup
// of each chosen gateway account.
#include "app/app.h"
#include "app/login_wnd.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"

namespace {

struct WizardService {
  int checkBox;
  const WCHAR* type;
};

// The order in which the chosen accounts are set up.
constexpr WizardService kServices[] = {
    {1009, u"aim"}, {1010, u"icq"}, {1011, u"yahoo"}, {1012, u"msn"}};

// Which boxes were checked when the user confirmed; read after the dialog has ended.
bool checked[std::size(kServices)] = {};

LRESULT WizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    for (std::size_t i = 0; i < std::size(kServices); ++i) {
      checked[i] = IsChecked(dialog, kServices[i].checkBox);
    }
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

void SetUpAccount(MSettings& settings, const WCHAR* type) {
  if (IJabberService* account = settings.FindServiceAccount(type)) {
    account->Setup(SetupDialogOwner());
  }
}

void SetUpChosenAccounts(MSettings& settings) {
  SetUpAccount(settings, u"jud");
  if (!settings.showServices) {
    return;
  }
  for (std::size_t i = 0; i < std::size(kServices); ++i) {
    if (checked[i]) {
      SetUpAccount(settings, kServices[i].type);
    }
  }
}

}  // namespace

void RunSetupWizard() {
  MApp* app = App();
  if (app == nullptr || app->settings == nullptr) {
    return;
  }
  MSettings& settings = *app->settings;
  settings.displayNoServicesDbox = true;
  settings.SetLoginOnStartup(false);  // saves both
  static const DIALOGITEM items[] = {
      {WC_EDIT,
       u"To setup orvik you will need to specify the name of the Jabber server you wish to use, "
       u"and have an account on each type of service (AIM, ICQ, etc) you want to communcate "
       u"with.",
       kNoId, ES_MULTILINE | ES_READONLY, kMargin, RowY(0), kCheckWidth, 2 * kRowStep - 8},
      {WC_BUTTON, u"America Online IM (AIM)", 1009, BS_AUTOCHECKBOX, kMargin, RowY(2), kCheckWidth,
       kRowHeight},
      {WC_BUTTON, u"ICQ", 1010, BS_AUTOCHECKBOX, kMargin, RowY(3), kCheckWidth, kRowHeight},
      {WC_BUTTON, u"Yahoo! Instant Messenger", 1011, BS_AUTOCHECKBOX, kMargin, RowY(4), kCheckWidth,
       kRowHeight},
      {WC_BUTTON, u"MSN Instant Messenger", 1012, BS_AUTOCHECKBOX, kMargin, RowY(5), kCheckWidth,
       kRowHeight},
      {WC_EDIT, u"Please specify the accounts you have by selecting the services above.", kNoId,
       ES_MULTILINE | ES_READONLY, kMargin, RowY(6), kCheckWidth, 2 * kRowStep - 8}};
  static const DIALOGTEMPLATE wizard{u"Setup Wizard", items, static_cast<int>(std::size(items))};
  for (bool& box : checked) {
    box = false;
  }
  if (RunSetupDialog(wizard, nullptr, WizardProc) == IDOK) {
    SetUpChosenAccounts(settings);
  }
  RefreshLoginWindow();
  MSettings::MarkSetupWizardDone();
}
