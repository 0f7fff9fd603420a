#include "ui/roster_dialogs.h"

#include <cstdio>
#include <map>

#include "location/distance.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "xml/text_convert.h"

namespace {

constexpr int kStatic = -1;
constexpr int kTextChars = 256;  // 255 characters and the terminator
constexpr int kLabelWidth = 110;
constexpr int kFieldX = 126;
constexpr int kFieldWidth = 220;
constexpr int kRow = 34;
constexpr int kHeight = 24;

// The form of the dialog being run, by dialog window (dialogs nest: Add User opens the
// account's own address prompt).
std::map<HWND, void*>& Forms() {
  static std::map<HWND, void*> forms;
  return forms;
}

template <typename Form>
Form* FormOf(HWND dialog) {
  auto found = Forms().find(dialog);
  return found != Forms().end() ? static_cast<Form*>(found->second) : nullptr;
}

template <typename Form>
LRESULT Run(HWND owner, const WCHAR* caption, const DIALOGITEM* items, int count, DLGPROC procedure,
            Form& form) {
  DIALOGTEMPLATE dialog{caption, items, count};
  LRESULT result =
      DialogBoxIndirectParam(nullptr, &dialog, owner, procedure, reinterpret_cast<LPARAM>(&form));
  for (auto it = Forms().begin(); it != Forms().end();) {
    it = it->second == &form ? Forms().erase(it) : std::next(it);
  }
  return result;
}

void FillCombo(HWND dialog, int id, const std::vector<wmstring>& entries, int selection) {
  for (const wmstring& entry : entries) {
    SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  if (!entries.empty()) {
    SendDlgItemMessage(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  }
}

// --- Add User (114) ---------------------------------------------------------------------------

struct AddUserRun {
  AddUserForm* form;
  const AddUserConfirm* confirm;
};

LRESULT AddUserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<AddUserRun*>(lParam);
    Forms()[dialog] = run;
    FillCombo(dialog, IDC_ADD_SERVICE, run->form->services, 0);
    FillCombo(dialog, IDC_ADD_GROUP, run->form->groups, run->form->groupSelection);
    SendDlgItemMessage(dialog, IDC_ADD_NICKNAME, EM_LIMITTEXT, kTextChars - 1, 0);
    return TRUE;
  }
  auto* run = FormOf<AddUserRun>(dialog);
  if (run == nullptr || message != WM_COMMAND || LOWORD(wParam) != IDOK) {
    return FALSE;
  }
  AddUserForm& form = *run->form;
  LRESULT service = SendDlgItemMessage(dialog, IDC_ADD_SERVICE, CB_GETCURSEL, 0, 0);
  form.service = service == CB_ERR ? 0 : static_cast<int>(service);
  form.group = DialogText(dialog, IDC_ADD_GROUP);
  form.nickname = DialogText(dialog, IDC_ADD_NICKNAME);
  if ((*run->confirm)(dialog, form)) {
    EndDialog(dialog, IDOK);
  }
  return TRUE;
}

// --- Remove User (332) ------------------------------------------------------------------------

LRESULT RemoveUserProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, IDC_REMOVE_NICKNAME,
                    reinterpret_cast<const wmstring*>(lParam)->c_str());
    return TRUE;
  }
  return FALSE;  // OK and Cancel end the dialog with their ids
}

// --- Rename User (279) ------------------------------------------------------------------------

LRESULT RenameUserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* form = reinterpret_cast<RenameForm*>(lParam);
    Forms()[dialog] = form;
    SetDlgItemTextW(dialog, IDC_RENAME_CURRENT, form->nickname.c_str());
    SetDlgItemTextW(dialog, IDC_RENAME_NICKNAME, form->nickname.c_str());
    SendDlgItemMessage(dialog, IDC_RENAME_NICKNAME, EM_LIMITTEXT, kTextChars - 1, 0);
    int selection = 0;
    for (std::size_t i = 0; i < form->groups.size(); ++i) {
      if (form->groups[i] == form->group) {
        selection = static_cast<int>(i);
      }
    }
    FillCombo(dialog, IDC_RENAME_GROUP, form->groups, selection);
    SetDlgItemTextW(dialog, IDC_RENAME_GROUP, form->group.c_str());
    return TRUE;
  }
  auto* form = FormOf<RenameForm>(dialog);
  if (form != nullptr && message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    form->nickname = DialogText(dialog, IDC_RENAME_NICKNAME);
    form->group = DialogText(dialog, IDC_RENAME_GROUP);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

// --- Contact Information (261) ----------------------------------------------------------------

IContactLocation* g_location = nullptr;

// The distance from the own position, when location support gives one.
wmstring DistanceText(const RosterItem& item) {
  mstring lat, lon;
  if (g_location == nullptr || !g_location->OwnPosition(&lat, &lon)) {
    return u"UNKNOWN";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.2f",
                Distance(lat.c_str(), lon.c_str(), item.lat.c_str(), item.lon.c_str()));
  return utf8_to_wide(text);
}

void ShowLocation(HWND dialog, const RosterItem& item) {
  bool located = item.hasLocation != 0;
  SetDlgItemTextW(dialog, IDC_INFO_LATITUDE, located ? utf8_to_wide(item.lat).c_str() : u"UNKNOWN");
  SetDlgItemTextW(dialog, IDC_INFO_LONGITUDE,
                  located ? utf8_to_wide(item.lon).c_str() : u"UNKNOWN");
  SetDlgItemTextW(dialog, IDC_INFO_ALTITUDE, located ? utf8_to_wide(item.alt).c_str() : u"UNKNOWN");
  SetDlgItemTextW(dialog, IDC_INFO_DISTANCE, located ? DistanceText(item).c_str() : u"UNKNOWN");
  for (int button : {IDC_INFO_MAP, IDC_INFO_ROUTE_TO, IDC_INFO_ROUTE_FROM}) {
    EnableWindow(GetDlgItem(dialog, button), located && g_location != nullptr);
  }
}

LRESULT ContactInfoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto& item = *reinterpret_cast<const RosterItem*>(lParam);
    Forms()[dialog] = reinterpret_cast<void*>(lParam);
    mstring jid = item.jid;
    if (!item.resource.empty()) {
      jid += "/";
      jid += item.resource;
    }
    SetDlgItemTextW(dialog, IDC_INFO_NICKNAME, item.name.c_str());
    SetDlgItemTextW(dialog, IDC_INFO_JID, utf8_to_wide(jid).c_str());
    SetDlgItemTextW(dialog, IDC_INFO_RESOURCE, utf8_to_wide(item.resource).c_str());
    SetDlgItemTextW(dialog, IDC_INFO_SERVICE,
                    item.serviceType.empty() ? u"Jabber" : utf8_to_wide(item.serviceType).c_str());
    ShowLocation(dialog, item);
    return TRUE;
  }
  auto* item = FormOf<RosterItem>(dialog);
  if (item == nullptr || message != WM_COMMAND || g_location == nullptr || item->hasLocation == 0) {
    return FALSE;
  }
  switch (LOWORD(wParam)) {
    case IDC_INFO_MAP:
      g_location->ShowMap(*item);
      return TRUE;
    case IDC_INFO_ROUTE_TO:
    case IDC_INFO_ROUTE_FROM: {
      RosterItem contact(*item);
      EndDialog(dialog, IDOK);  // the route answer comes to the service's chat
      g_location->Route(contact, LOWORD(wParam) == IDC_INFO_ROUTE_TO);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

bool RunAddUserDialog(HWND owner, AddUserForm& form, const AddUserConfirm& confirm) {
  static const DIALOGITEM kItems[] = {
      {WC_STATIC, u"Service:", kStatic, SS_LEFT, 8, 8, kLabelWidth, kHeight},
      {WC_COMBOBOX, u"", IDC_ADD_SERVICE, CBS_DROPDOWNLIST, kFieldX, 8, kFieldWidth, kHeight},
      {WC_STATIC, u"Group:", kStatic, SS_LEFT, 8, 8 + kRow, kLabelWidth, kHeight},
      {WC_COMBOBOX, u"", IDC_ADD_GROUP, CBS_DROPDOWN, kFieldX, 8 + kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Nickname:", kStatic, SS_LEFT, 8, 8 + 2 * kRow, kLabelWidth, kHeight},
      {WC_EDIT, u"", IDC_ADD_NICKNAME, ES_AUTOHSCROLL, kFieldX, 8 + 2 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Press Done to enter the contact's address.", kStatic, SS_LEFT, 8, 16 + 3 * kRow,
       kFieldX + kFieldWidth - 8, kHeight},
  };
  AddUserRun run{&form, &confirm};
  return Run(owner, u"Add User", kItems, static_cast<int>(std::size(kItems)), AddUserProc, run) ==
         IDOK;
}

bool RunRemoveUserDialog(HWND owner, const wmstring& nickname) {
  static const DIALOGITEM kItems[] = {
      {WC_STATIC, u"Remove this contact?", kStatic, SS_LEFT, 8, 8, 300, kHeight},
      {WC_STATIC, u"", IDC_REMOVE_NICKNAME, SS_LEFT, 8, 8 + kRow, 300, kHeight},
      {WC_BUTTON, u"OK", IDOK, BS_DEFPUSHBUTTON, 8, 16 + 2 * kRow, 90, 28},
      {WC_BUTTON, u"Cancel", IDCANCEL, BS_PUSHBUTTON, 108, 16 + 2 * kRow, 90, 28},
  };
  wmstring shown(nickname);
  return Run(owner, u"Remove User", kItems, static_cast<int>(std::size(kItems)), RemoveUserProc,
             shown) == IDOK;
}

bool RunRenameUserDialog(HWND owner, RenameForm& form) {
  static const DIALOGITEM kItems[] = {
      {WC_STATIC, u"Nickname:", kStatic, SS_LEFT, 8, 8, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_RENAME_CURRENT, SS_LEFT, kFieldX, 8, kFieldWidth, kHeight},
      {WC_STATIC, u"New nickname:", kStatic, SS_LEFT, 8, 8 + kRow, kLabelWidth, kHeight},
      {WC_EDIT, u"", IDC_RENAME_NICKNAME, ES_AUTOHSCROLL, kFieldX, 8 + kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Group:", kStatic, SS_LEFT, 8, 8 + 2 * kRow, kLabelWidth, kHeight},
      {WC_COMBOBOX, u"", IDC_RENAME_GROUP, CBS_DROPDOWN, kFieldX, 8 + 2 * kRow, kFieldWidth,
       kHeight},
  };
  return Run(owner, u"Rename User", kItems, static_cast<int>(std::size(kItems)), RenameUserProc,
             form) == IDOK;
}

void SetContactLocation(IContactLocation* location) {
  g_location = location;
}

void RunContactInfoDialog(HWND owner, const RosterItem& item) {
  static const DIALOGITEM kItems[] = {
      {WC_STATIC, u"Nickname:", kStatic, SS_LEFT, 8, 8, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_NICKNAME, SS_LEFT, kFieldX, 8, kFieldWidth, kHeight},
      {WC_STATIC, u"JID:", kStatic, SS_LEFT, 8, 8 + kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_JID, SS_LEFT, kFieldX, 8 + kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Resource:", kStatic, SS_LEFT, 8, 8 + 2 * kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_RESOURCE, SS_LEFT, kFieldX, 8 + 2 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Service:", kStatic, SS_LEFT, 8, 8 + 3 * kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_SERVICE, SS_LEFT, kFieldX, 8 + 3 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Lat:", kStatic, SS_LEFT, 8, 8 + 4 * kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_LATITUDE, SS_LEFT, kFieldX, 8 + 4 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Lon:", kStatic, SS_LEFT, 8, 8 + 5 * kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_LONGITUDE, SS_LEFT, kFieldX, 8 + 5 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Alt:", kStatic, SS_LEFT, 8, 8 + 6 * kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_ALTITUDE, SS_LEFT, kFieldX, 8 + 6 * kRow, kFieldWidth, kHeight},
      {WC_STATIC, u"Distance (km):", kStatic, SS_LEFT, 8, 8 + 7 * kRow, kLabelWidth, kHeight},
      {WC_STATIC, u"", IDC_INFO_DISTANCE, SS_LEFT, kFieldX, 8 + 7 * kRow, kFieldWidth, kHeight},
      {WC_BUTTON, u"Map", IDC_INFO_MAP, BS_PUSHBUTTON, 8, 16 + 8 * kRow, 90, 28},
      {WC_BUTTON, u"Route To", IDC_INFO_ROUTE_TO, BS_PUSHBUTTON, 108, 16 + 8 * kRow, 90, 28},
      {WC_BUTTON, u"Route From", IDC_INFO_ROUTE_FROM, BS_PUSHBUTTON, 208, 16 + 8 * kRow, 90, 28},
  };
  RosterItem shown(item);
  Run(owner, u"Contact Information", kItems, static_cast<int>(std::size(kItems)), ContactInfoProc,
      shown);
}
