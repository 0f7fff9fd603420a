// About (dialog 105): the program's name and version, the owner's notice and the web link,
// which opens in the configured browser.
#include <string>

#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "platform/process.h"
#include "xml/text_convert.h"

namespace {

constexpr int kVersionId = 1101;
constexpr int kLinkId = 1102;
constexpr const char* kWebLink = "https://xmpp.org/";

LRESULT AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, kVersionId, mb_to_wide("Version " ORVIK_VERSION).c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kLinkId) {
    if (MApp* app = App(); app != nullptr && app->settings != nullptr) {
      CreateProcess(wide_to_mb(app->settings->browserExec.c_str()).c_str(), kWebLink);
    }
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void AboutDialog() {
  static const DIALOGITEM items[] = {
      {WC_STATIC, u"orvik Messenger", kNoId, SS_LEFT, kMargin, RowY(0), kCheckWidth, kRowHeight},
      {WC_STATIC, u"", kVersionId, SS_LEFT, kMargin, RowY(1), kCheckWidth, kRowHeight},
      {WC_STATIC, u"Instant messaging for everyone who speaks XMPP (Jabber).", kNoId, SS_LEFT,
       kMargin, RowY(2), kCheckWidth, kRowHeight},
      {WC_STATIC, u"Copyright (C) the orvik Messenger developers. All rights reserved.", kNoId,
       SS_LEFT, kMargin, RowY(3), kCheckWidth, kRowHeight},
      {WC_BUTTON, u"https://xmpp.org/", kLinkId, BS_PUSHBUTTON, kMargin, RowY(4) + 8, 200,
       kRowHeight}};
  static const DIALOGTEMPLATE about{u"About orvik Messenger", items,
                                    static_cast<int>(std::size(items))};
  RunSetupDialog(about, nullptr, AboutProc);
}
