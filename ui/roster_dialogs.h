// The roster window's dialogs: 114 "Add User", 332 "Remove User", 279 "Rename User" and 261
// "Contact Information". They fill their owner's client area with a Done button (OK); the
// callers decide what OK does to the model and the network.
#pragma once

#include <functional>
#include <vector>

#include "platform/window.h"
#include "roster/roster_item.h"
#include "ui/dialog_text.h"
#include "xml/wmstring.h"

// Dialog 114.
constexpr int IDC_ADD_SERVICE = 1006;
constexpr int IDC_ADD_GROUP = 1007;
constexpr int IDC_ADD_NICKNAME = 1008;
// Dialog 332.
constexpr int IDC_REMOVE_NICKNAME = 1104;
// Dialog 279.
constexpr int IDC_RENAME_CURRENT = 1076;
constexpr int IDC_RENAME_NICKNAME = 8074;
constexpr int IDC_RENAME_GROUP = 1077;
// Dialog 261.
constexpr int IDC_INFO_SERVICE = 1001;
constexpr int IDC_INFO_NICKNAME = 1062;
constexpr int IDC_INFO_JID = 1063;
constexpr int IDC_INFO_RESOURCE = 8064;
constexpr int IDC_INFO_MAP = 1070;
constexpr int IDC_INFO_LATITUDE = 1071;
constexpr int IDC_INFO_LONGITUDE = 8072;
constexpr int IDC_INFO_ALTITUDE = 1073;
constexpr int IDC_INFO_DISTANCE = 1074;
constexpr int IDC_INFO_ROUTE_TO = 8075;
constexpr int IDC_INFO_ROUTE_FROM = 8076;

struct AddUserForm {
  // In: the services' display names and the group entries, with the group preselected.
  std::vector<wmstring> services;
  std::vector<wmstring> groups;
  int groupSelection = 0;
  // Out (read when OK is pressed): the chosen service's index, the group and the nickname.
  int service = 0;
  wmstring group;
  wmstring nickname;
};
// Runs on OK with the form read; true lets the dialog close.
using AddUserConfirm = std::function<bool(HWND dialog, AddUserForm& form)>;
bool RunAddUserDialog(HWND owner, AddUserForm& form, const AddUserConfirm& confirm);

// "Remove this contact?"; true on OK.
bool RunRemoveUserDialog(HWND owner, const wmstring& nickname);

struct RenameForm {
  wmstring nickname;             // in: the current nickname; out: the new one
  wmstring group;                // in: the current group; out: the chosen one
  std::vector<wmstring> groups;  // the groups offered
};
bool RunRenameUserDialog(HWND owner, RenameForm& form);

// What the location part of the contact information dialog needs from the program: the own
// position for the distance and the Map and Route buttons' actions.
class IContactLocation {
 public:
  virtual ~IContactLocation() = default;
  // False while location support is off (the distance then shows "UNKNOWN").
  virtual bool OwnPosition(mstring* lat, mstring* lon) = 0;
  virtual void ShowMap(const RosterItem& contact) = 0;
  // A route from the user to the contact (`toContact`) or from the contact to the user.
  virtual void Route(const RosterItem& contact, bool toContact) = 0;
};
// Installed when the program is wired; null: no distance, and Map and Route stay disabled.
void SetContactLocation(IContactLocation* location);

// Shows the contact's nickname, address, resource, service and location.
void RunContactInfoDialog(HWND owner, const RosterItem& item);
