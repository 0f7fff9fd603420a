#include "ui/route_dialogs.h"

#include <iterator>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/dialog_text.h"
#include "xml/text_convert.h"

namespace {

constexpr int kStatic = -1;
constexpr int kLabelX = 28;
constexpr int kLabelWidth = 90;
constexpr int kFieldX = 126;
constexpr int kFieldWidth = 220;
constexpr int kRow = 34;
constexpr int kHeight = 24;
constexpr const WCHAR* kCountries[] = {
    u"Austria",    u"Belgium",  u"Denmark", u"Finland",        u"France",       u"Germany",
    u"Luxembourg", u"Norway",   u"Sweden",  u"Switzerland",    u"Netherlands",  u"Canada",
    u"Italy",      u"Portugal", u"Spain",   u"United Kingdom", u"United States"};
constexpr int kAddressControls[] = {IDC_ROUTE_STREET, IDC_ROUTE_CITY, IDC_ROUTE_STATE,
                                    IDC_ROUTE_ZIP, IDC_ROUTE_COUNTRY};

// The radio chosen last, in either dialog, for as long as the program runs.
bool g_useAddress = false;

struct RouteRun {
  RouteEndpoint* endpoint;
  const std::vector<mstring>* users;
};
RouteRun* g_run = nullptr;  // the dialogs are modal and never nest

void ChooseRadio(HWND dialog, bool address) {
  SendDlgItemMessage(dialog, IDC_ROUTE_USE_USER, BM_SETCHECK, address ? 0 : BST_CHECKED, 0);
  SendDlgItemMessage(dialog, IDC_ROUTE_USE_ADDRESS, BM_SETCHECK, address ? BST_CHECKED : 0, 0);
  EnableWindow(GetDlgItem(dialog, IDC_ROUTE_USERS), !address);
  for (int id : kAddressControls) {
    EnableWindow(GetDlgItem(dialog, id), address);
  }
}

void AddEntry(HWND dialog, int id, const WCHAR* text) {
  SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void Fill(HWND dialog, const RouteRun& run) {
  const RouteEndpoint& end = *run.endpoint;
  SetDlgItemTextW(dialog, IDC_ROUTE_STREET, utf8_to_wide(end.street).c_str());
  SetDlgItemTextW(dialog, IDC_ROUTE_CITY, utf8_to_wide(end.city).c_str());
  SetDlgItemTextW(dialog, IDC_ROUTE_STATE, utf8_to_wide(end.state).c_str());
  SetDlgItemTextW(dialog, IDC_ROUTE_ZIP, utf8_to_wide(end.zip).c_str());
  for (const mstring& user : *run.users) {
    AddEntry(dialog, IDC_ROUTE_USERS, utf8_to_wide(user).c_str());
  }
  AddEntry(dialog, IDC_ROUTE_USERS, u"You");
  SendDlgItemMessage(dialog, IDC_ROUTE_USERS, CB_SETCURSEL, run.users->size(), 0);
  // The endpoint's country, "United States" when it has none, the first one when unknown.
  wmstring wanted = end.country.empty() ? wmstring(u"United States") : utf8_to_wide(end.country);
  int selection = 0;
  for (int i = 0; i < static_cast<int>(std::size(kCountries)); ++i) {
    AddEntry(dialog, IDC_ROUTE_COUNTRY, kCountries[i]);
    if (wanted == wmstring(kCountries[i])) {
      selection = i;
    }
  }
  SendDlgItemMessage(dialog, IDC_ROUTE_COUNTRY, CB_SETCURSEL, selection, 0);
  ChooseRadio(dialog, g_useAddress);
}

void Warn(HWND dialog, const WCHAR* text) {
  MessageBoxW(dialog, text, u"orvik Messenger", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

mstring Text(HWND dialog, int id) {
  return wide_to_utf8(DialogText(dialog, id));
}

// OK: the chosen end, or a message and the dialog stays.
void Confirm(HWND dialog, RouteEndpoint& endpoint) {
  if (!g_useAddress) {
    mstring user = Text(dialog, IDC_ROUTE_USERS);
    if (user.empty()) {
      Warn(dialog, u"Please select a valid user or enter in a postal address.");
      return;
    }
    endpoint.user = user;
    EndDialog(dialog, IDOK);
    return;
  }
  RouteEndpoint address{"",
                        Text(dialog, IDC_ROUTE_STREET),
                        Text(dialog, IDC_ROUTE_CITY),
                        Text(dialog, IDC_ROUTE_STATE),
                        Text(dialog, IDC_ROUTE_ZIP),
                        Text(dialog, IDC_ROUTE_COUNTRY)};
  if (address.street.empty()) {
    EndDialog(dialog, IDCANCEL);  // nothing entered: as good as cancelled
    return;
  }
  if (address.city.empty() || address.state.empty() || address.country.empty() ||
      address.zip.empty()) {
    Warn(dialog,
         u"Please enter a valid street, city, state, country and postal code, or select a "
         u"valid user.");
    return;
  }
  endpoint = address;
  EndDialog(dialog, IDOK);
}

LRESULT RouteProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    Fill(dialog, *g_run);
    return TRUE;
  }
  if (message != WM_COMMAND) {
    return FALSE;
  }
  switch (LOWORD(wParam)) {
    case IDC_ROUTE_USE_USER:
    case IDC_ROUTE_USE_ADDRESS:
      g_useAddress = LOWORD(wParam) == IDC_ROUTE_USE_ADDRESS;
      ChooseRadio(dialog, g_useAddress);
      return TRUE;
    case IDOK:
      Confirm(dialog, *g_run->endpoint);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool RunRouteDialog(HWND owner, RouteDialog which, RouteEndpoint& endpoint,
                    const std::vector<mstring>& users) {
  static const DIALOGITEM kItems[] = {
      {WC_BUTTON, u"User", IDC_ROUTE_USE_USER, BS_AUTORADIOBUTTON | WS_GROUP, 8, 8, 300, kHeight},
      {WC_COMBOBOX, u"", IDC_ROUTE_USERS, CBS_DROPDOWNLIST, kFieldX, 8 + kRow, kFieldWidth,
       kHeight},
      {WC_BUTTON, u"Address", IDC_ROUTE_USE_ADDRESS, BS_AUTORADIOBUTTON, 8, 8 + 2 * kRow, 300,
       kHeight},
      {WC_STATIC, u"Street:", kStatic, SS_LEFT, kLabelX, 8 + 3 * kRow, kLabelWidth, kHeight},
      {WC_EDIT, u"", IDC_ROUTE_STREET, ES_AUTOHSCROLL, kFieldX, 8 + 3 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"City:", kStatic, SS_LEFT, kLabelX, 8 + 4 * kRow, kLabelWidth, kHeight},
      {WC_EDIT, u"", IDC_ROUTE_CITY, ES_AUTOHSCROLL, kFieldX, 8 + 4 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"State:", kStatic, SS_LEFT, kLabelX, 8 + 5 * kRow, kLabelWidth, kHeight},
      {WC_EDIT, u"", IDC_ROUTE_STATE, ES_AUTOHSCROLL, kFieldX, 8 + 5 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Zip:", kStatic, SS_LEFT, kLabelX, 8 + 6 * kRow, kLabelWidth, kHeight},
      {WC_EDIT, u"", IDC_ROUTE_ZIP, ES_AUTOHSCROLL, kFieldX, 8 + 6 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Country:", kStatic, SS_LEFT, kLabelX, 8 + 7 * kRow, kLabelWidth, kHeight},
      {WC_COMBOBOX, u"", IDC_ROUTE_COUNTRY, CBS_DROPDOWNLIST, kFieldX, 8 + 7 * kRow, kFieldWidth,
       kHeight},
  };
  RouteEndpoint edited(endpoint);
  RouteRun run{&edited, &users};
  g_run = &run;
  DIALOGTEMPLATE dialog{which == RouteDialog::kStart ? u"Route Start" : u"Route Destination",
                        kItems, static_cast<int>(std::size(kItems))};
  LRESULT result = DialogBoxIndirectParam(nullptr, &dialog, owner, RouteProc, 0);
  g_run = nullptr;
  if (result != IDOK) {
    return false;
  }
  endpoint = edited;
  return true;
}
