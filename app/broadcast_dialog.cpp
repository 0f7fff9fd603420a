// Broadcast setup (dialog 281 "tesselcast Setup"): the switch for broadcast alerts and the
// one sender trusted to send them.
#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "xml/text_convert.h"

namespace {

constexpr int kEnable = 8078;
constexpr int kTrustedJid = 1079;

LRESULT BroadcastProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  MSettings& settings = *App()->settings;
  if (message == WM_INITDIALOG) {
    SetChecked(dialog, kEnable, settings.tesselcastSupport);
    SetDlgItemTextW(dialog, kTrustedJid, mb_to_wide(settings.trustedTesselcastJid.c_str()).c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    settings.tesselcastSupport = IsChecked(dialog, kEnable);
    settings.trustedTesselcastJid = wide_to_mb(DialogText(dialog, kTrustedJid).c_str());
    EndDialog(dialog, IDOK);
    settings.Save();
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void BroadcastDialog() {
  if (App() == nullptr || App()->settings == nullptr) {
    return;
  }
  static const DIALOGITEM items[] = {
      {WC_BUTTON, u"Enable tesselcast", kEnable, BS_AUTOCHECKBOX, kMargin, RowY(0), kCheckWidth,
       kRowHeight},
      {WC_STATIC, u"Trusted JID:", kNoId, SS_LEFT, kMargin, RowY(1), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kTrustedJid, ES_AUTOHSCROLL, kFieldX, RowY(1), kFieldWidth, kRowHeight}};
  static const DIALOGTEMPLATE broadcast{u"tesselcast Setup", items,
                                        static_cast<int>(std::size(items))};
  RunSetupDialog(broadcast, nullptr, BroadcastProc);
}
