// "LBS Setup" (dialog 275): the stored position, the receiver's status and last update, whether
// location support and the receiver are on, and the receiver's port.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "location/gps_status.h"
#include "location/location_store.h"
#include "location/serial_reader.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "xml/text_convert.h"
#include "xmpp/jabber_host.h"

namespace {

constexpr int kEnableLbs = 1064;
constexpr int kLatitude = 1066;
constexpr int kLongitude = 1067;
constexpr int kAltitude = 1068;
constexpr int kGpsPort = 1072;
constexpr int kStatus = 1100;
constexpr int kLastUpdate = 1101;
constexpr int kUseGps = 8069;
constexpr int kHighestListedPort = 7;

IJabberHost* g_host = nullptr;

mstring Narrow(HWND dialog, int id) {
  return wide_to_utf8(DialogText(dialog, id));
}

void SetNarrow(HWND dialog, int id, const mstring& text) {
  SetDlgItemTextW(dialog, id, utf8_to_wide(text).c_str());
}

void FillPorts(HWND dialog, const mstring& chosen) {
  SendDlgItemMessage(dialog, kGpsPort, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"AUTO"));
  for (int port = 1; port <= kHighestListedPort; ++port) {
    char name[16];
    std::snprintf(name, sizeof name, "COM%d:", port);
    wmstring wide = utf8_to_wide(name);
    if (SendDlgItemMessage(dialog, kGpsPort, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(wide.c_str())) == CB_ERR) {
      SendDlgItemMessage(dialog, kGpsPort, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
  }
  wmstring wideChosen = utf8_to_wide(chosen);
  LRESULT index = SendDlgItemMessage(dialog, kGpsPort, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(wideChosen.c_str()));
  SendDlgItemMessage(dialog, kGpsPort, CB_SETCURSEL, index == CB_ERR ? 0 : index, 0);
}

void ShowValues(HWND dialog) {
  const MSettings& settings = *App()->settings;
  StoredLocation stored = GetLocation(*g_host);
  SetNarrow(dialog, kLatitude, stored.lat);
  SetNarrow(dialog, kLongitude, stored.lon);
  SetNarrow(dialog, kAltitude, stored.alt);
  SetNarrow(dialog, kStatus, GpsStatus());
  SetNarrow(dialog, kLastUpdate, stored.timestamp);
  SetChecked(dialog, kEnableLbs, settings.locationSupport);
  SetChecked(dialog, kUseGps, settings.enableGps);
  FillPorts(dialog, settings.gpsPort);
}

// A typed coordinate: a decimal number within `limit` (the altitude has none).
bool ValidNumber(const mstring& text, double limit) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  while (end != nullptr && *end == ' ') {
    ++end;
  }
  return end != text.c_str() && *end == '\0' && std::isfinite(value) &&
         (limit == 0 || std::fabs(value) <= limit);
}

// The typed position, when it changed: stored as of now. False (and the user told) when it is
// not a position.
bool StoreTypedPosition(HWND dialog) {
  mstring lat = Narrow(dialog, kLatitude), lon = Narrow(dialog, kLongitude),
          alt = Narrow(dialog, kAltitude);
  if (!ValidNumber(lat, 90) || !ValidNumber(lon, 180) || !ValidNumber(alt, 0)) {
    MessageBoxW(dialog,
                u"Please enter the latitude (-90 to 90), longitude (-180 to 180) and altitude as "
                u"decimal numbers.",
                u"orvik Messenger", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
    return false;
  }
  const MSettings& settings = *App()->settings;
  if (!(lat == settings.latitude) || !(lon == settings.longitude) || !(alt == settings.altitude)) {
    SetLocation(*g_host, alt, lon, lat, LocationTimestampNow());
  }
  return true;
}

void StoreChoices(HWND dialog) {
  MSettings& settings = *App()->settings;
  settings.locationSupport = IsChecked(dialog, kEnableLbs);
  settings.enableGps = IsChecked(dialog, kUseGps);
  mstring port = Narrow(dialog, kGpsPort);
  // The location thread starts the receiver again on the chosen port when it is wanted.
  if (!(port == settings.gpsPort) || !settings.enableGps) {
    SerialReader::Destroy();
  }
  settings.gpsPort = port;
  settings.Save();
}

LRESULT LbsSetupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    ShowValues(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND || LOWORD(wParam) != IDOK) {
    return FALSE;
  }
  if (StoreTypedPosition(dialog)) {
    StoreChoices(dialog);
    EndDialog(dialog, IDOK);
  }
  return TRUE;
}

}  // namespace

bool LbsSetupDialog(IJabberHost& host, HWND owner) {
  if (App() == nullptr || App()->settings == nullptr) {
    return false;
  }
  g_host = &host;
  static const DIALOGITEM items[] = {
      {WC_STATIC, u"Latitude:", kNoId, SS_LEFT, kMargin, RowY(0), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kLatitude, ES_AUTOHSCROLL, kFieldX, RowY(0), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Longitude:", kNoId, SS_LEFT, kMargin, RowY(1), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kLongitude, ES_AUTOHSCROLL, kFieldX, RowY(1), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Altitude:", kNoId, SS_LEFT, kMargin, RowY(2), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kAltitude, ES_AUTOHSCROLL, kFieldX, RowY(2), kFieldWidth, kRowHeight},
      {WC_STATIC, u"GPS Status:", kNoId, SS_LEFT, kMargin, RowY(3), kLabelWidth, kRowHeight},
      {WC_STATIC, u"", kStatus, SS_LEFT, kFieldX, RowY(3), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Last Update:", kNoId, SS_LEFT, kMargin, RowY(4), kLabelWidth, kRowHeight},
      {WC_STATIC, u"", kLastUpdate, SS_LEFT, kFieldX, RowY(4), kFieldWidth, kRowHeight},
      {WC_BUTTON, u"Enable LBS Support", kEnableLbs, BS_AUTOCHECKBOX, kMargin, RowY(5), kCheckWidth,
       kRowHeight},
      {WC_BUTTON, u"Use GPS", kUseGps, BS_AUTOCHECKBOX, kMargin, RowY(6), kCheckWidth, kRowHeight},
      {WC_STATIC, u"GPS Port:", kNoId, SS_LEFT, kMargin, RowY(7), kLabelWidth, kRowHeight},
      {WC_COMBOBOX, u"", kGpsPort, CBS_DROPDOWNLIST, kFieldX, RowY(7), kFieldWidth, kRowHeight}};
  static const DIALOGTEMPLATE lbsSetup{u"LBS Setup", items, static_cast<int>(std::size(items))};
  return RunSetupDialog(lbsSetup, owner, LbsSetupProc) == IDOK;
}
