// "Unavailable Services" (dialog 322): after a login, the accounts the user set up whose
// gateway this server does not offer, with the way out (another server and the wizard).
#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"

namespace {

constexpr int kDoNotDisplay = 1082;
constexpr int kNames = 1083;

bool doNotDisplay = false;

LRESULT UnavailableProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, kNames, reinterpret_cast<const wmstring*>(lParam)->c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    doNotDisplay = IsChecked(dialog, kDoNotDisplay);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool UnavailableServicesDialog(const std::vector<wmstring>& names) {
  wmstring text;
  for (const wmstring& name : names) {
    text += name;
    text += u"\n";
  }
  static const DIALOGITEM items[] = {
      {WC_EDIT,
       u"NOTICE: The Jabber server you are using does not support all the services you "
       u"requested. The following services are not available on this server:",
       kNoId, ES_MULTILINE | ES_READONLY, kMargin, RowY(0), kCheckWidth, 2 * kRowStep - 8},
      {WC_EDIT, u"", kNames, ES_MULTILINE | ES_READONLY, kMargin, RowY(2), kCheckWidth,
       2 * kRowStep - 8},
      {WC_EDIT,
       u"To use these services, choose another Jabber server that offers them (public servers "
       u"are listed at https://providers.xmpp.net/) and run the Setup Wizard again.",
       kNoId, ES_MULTILINE | ES_READONLY, kMargin, RowY(4) + 8, kCheckWidth, 2 * kRowStep - 8},
      {WC_BUTTON, u"Do not display this again", kDoNotDisplay, BS_AUTOCHECKBOX, kMargin,
       RowY(6) + 16, kCheckWidth, kRowHeight}};
  static const DIALOGTEMPLATE unavailable{u"Unavailable Services", items,
                                          static_cast<int>(std::size(items))};
  doNotDisplay = false;
  RunSetupDialog(unavailable, nullptr, UnavailableProc, reinterpret_cast<LPARAM>(&text));
  return doNotDisplay;
}
