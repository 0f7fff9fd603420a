// Proxy (dialog 329 "Proxy Setup"): the SOCKS version 5 proxy and its credentials.
#include <cstdio>

#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "xml/text_convert.h"

namespace {

constexpr int kEnableProxy = 1016;
constexpr int kServer = 1020;
constexpr int kPort = 1026;
constexpr int kUsername = 1027;
constexpr int kPassword = 8028;

void InitProxy(HWND dialog, const MSettings& settings) {
  SetChecked(dialog, kEnableProxy, settings.enableProxy);
  SetDlgItemTextW(dialog, kServer, mb_to_wide(settings.proxyServer.c_str()).c_str());
  char port[16];
  std::snprintf(port, sizeof(port), "%u", static_cast<unsigned>(settings.proxyPort));
  SetDlgItemTextW(dialog, kPort, mb_to_wide(port).c_str());
  SetDlgItemTextW(dialog, kUsername, mb_to_wide(settings.proxyUsername.c_str()).c_str());
  SetDlgItemTextW(dialog, kPassword, mb_to_wide(settings.proxyPassword.c_str()).c_str());
}

LRESULT ProxyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  MSettings& settings = *App()->settings;
  if (message == WM_INITDIALOG) {
    InitProxy(dialog, settings);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    settings.enableProxy = IsChecked(dialog, kEnableProxy);
    settings.proxyServer = wide_to_mb(DialogText(dialog, kServer).c_str());
    settings.proxyPort = ParseProxyPort(DialogText(dialog, kPort).c_str());
    settings.proxyUsername = wide_to_mb(DialogText(dialog, kUsername).c_str());
    settings.proxyPassword = wide_to_mb(DialogText(dialog, kPassword).c_str());
    EndDialog(dialog, IDOK);
    settings.Save();
    return TRUE;
  }
  return FALSE;
}

}  // namespace

DWORD ParseProxyPort(const WCHAR* text) {
  DWORD value = 0;
  for (int i = 0; text != nullptr && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    DWORD digit = text[i] - u'0';
    if (value > (0xFFFFFFFFu - digit) / 10) {
      return 0xFFFFFFFFu;
    }
    value = value * 10 + digit;
  }
  return value;
}

void ProxyDialog(HWND owner) {
  if (App() == nullptr || App()->settings == nullptr) {
    return;
  }
  static const DIALOGITEM items[] = {
      {WC_BUTTON, u"Use Proxy Server (SOCKS5)", kEnableProxy, BS_AUTOCHECKBOX, kMargin, RowY(0),
       kCheckWidth, kRowHeight},
      {WC_STATIC, u"Server:", kNoId, SS_LEFT, kMargin, RowY(1), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kServer, ES_AUTOHSCROLL, kFieldX, RowY(1), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Port:", kNoId, SS_LEFT, kMargin, RowY(2), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kPort, ES_AUTOHSCROLL, kFieldX, RowY(2), 100, kRowHeight},
      {WC_STATIC, u"Username:", kNoId, SS_LEFT, kMargin, RowY(3), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kUsername, ES_AUTOHSCROLL, kFieldX, RowY(3), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Password:", kNoId, SS_LEFT, kMargin, RowY(4), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kPassword, ES_AUTOHSCROLL | ES_PASSWORD, kFieldX, RowY(4), kFieldWidth,
       kRowHeight}};
  static const DIALOGTEMPLATE proxy{u"Proxy Setup", items, static_cast<int>(std::size(items))};
  RunSetupDialog(proxy, owner, ProxyProc);
}
