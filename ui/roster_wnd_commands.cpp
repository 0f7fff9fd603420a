// MRosterWnd: the window procedure, the contact commands and their dialogs.
#include <algorithm>

#include "platform/dialog.h"
#include "platform/menu.h"
#include "ui/frame_link.h"
#include "ui/roster_add_user.h"
#include "ui/roster_dialogs.h"
#include "ui/roster_images.h"
#include "ui/roster_wnd.h"
#include "xml/text_convert.h"

namespace {

// Commands the main frame carries out (status, setup, help and the location screens); the
// roster window hands them on so that they work the same from here.
bool IsFrameCommand(UINT command) {
  static const UINT kFrameCommands[] = {40034, 40035, 40036, 40037, 40062, 40160, 40013, 40026,
                                        40116, 40154, 40193, 40205, 40206, 40213, 40182, 40248};
  return std::find(std::begin(kFrameCommands), std::end(kFrameCommands), command) !=
         std::end(kFrameCommands);
}

}  // namespace

LRESULT MRosterWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == hwnd_) {
    switch (message) {
      case WM_SIZE:
        Relayout();
        return 0;
      case WM_SETFOCUS:
        SetFocus(tree_.Hwnd());
        if (tree_.Selection() == nullptr) {
          tree_.ShowRootFirst();
        }
        return 0;
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == tree_.Hwnd()) {
          return OnNotify(header);
        }
        break;
      }
      case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) {
          return 0;
        }
        break;
      default:
        break;
    }
  }
  return MWnd::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT MRosterWnd::OnNotify(NMHDR* header) {
  switch (header->code) {
    case NM_DBLCLK:
    case NM_RETURN:
      OpenChat();
      return 0;
    case TVN_ITEMEXPANDING:
    case TVN_ITEMEXPANDED: {
      auto* notice = reinterpret_cast<NMTREEVIEW*>(header);
      HTREEITEM item = notice->itemNew.hItem;
      if (tree_.IsGroup(item)) {
        tree_.SetImage(item,
                       notice->action == TVE_EXPAND ? kGroupExpandedImage : kGroupCollapsedImage);
      }
      return 0;
    }
    case TVN_DELETEITEM:
      tree_.OnDeleted(reinterpret_cast<NMTREEVIEW*>(header)->itemOld.hItem);
      return 0;
    case GN_CONTEXTMENU:
      ShowContextMenu(reinterpret_cast<NMRGINFO*>(header)->ptAction);
      return 0;
    default:
      return 0;
  }
}

bool MRosterWnd::OnCommand(UINT command) {
  switch (command) {
    case kRosterAddButton:
    case 40198:
      AddUser();
      return true;
    case kRosterInfoButton:
    case kPopupInfo:
    case 40201:
      ContactInfo();
      return true;
    case kRosterChatButton:
    case kPopupChat:
    case 40202:
      OpenChat();
      if (command == kRosterChatButton) {
        SetFocus(tree_.Hwnd());
      }
      return true;
    case kPopupRemove:
      RemoveUser();
      return true;
    case kPopupRename:
      RenameUser();
      return true;
    case kOnlyOnlineCommand:
      ToggleOnlyOnline();
      return true;
    case 40211:
      if (actions_ != nullptr) {
        actions_->ShowActiveChats();
      }
      return true;
    default:
      break;
  }
  if (IsFrameCommand(command)) {
    HWND frame = FrameWindow();
    if (frame != nullptr && frame != hwnd_) {
      SendMessage(frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    return true;
  }
  return false;
}

const RosterItem* MRosterWnd::SelectedContact() {
  HTREEITEM selected = tree_.Selection();
  if (selected == nullptr) {
    tree_.ShowRootFirst();
    return nullptr;
  }
  return tree_.IsGroup(selected) ? nullptr : tree_.Data(selected);
}

HWND MRosterWnd::DialogOwner() const {
  HWND frame = FrameWindow();
  return frame != nullptr ? frame : hwnd_;
}

void MRosterWnd::OpenChat() {
  HTREEITEM selected = tree_.Selection();
  if (selected == nullptr) {
    tree_.ShowRootFirst();
    return;
  }
  if (actions_ == nullptr || !actions_->CanChat()) {
    return;
  }
  const RosterItem* data = tree_.Data(selected);
  if (data == nullptr) {
    return;
  }
  if (tree_.IsGroup(selected)) {
    actions_->OpenGroupChat(data->name);
  } else {
    actions_->OpenChat(data->jid, data->resource);
  }
}

HMENU MRosterWnd::CreateContactMenu() const {
  bool canChat = actions_ != nullptr && actions_->CanChat();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kPopupInfo, u"Info");
  AppendMenuW(menu, MF_STRING | (canChat ? MF_ENABLED : MF_GRAYED), kPopupChat, u"Chat");
  AppendMenuW(menu, MF_STRING, kPopupRename, u"Rename");
  AppendMenuW(menu, MF_STRING, kPopupRemove, u"Remove");
  return menu;
}

void MRosterWnd::ShowContextMenu(const POINT& at) {
  HTREEITEM selected = tree_.Selection();
  if (selected == nullptr || tree_.IsGroup(selected)) {
    return;  // the menu is about one contact
  }
  HMENU menu = CreateContactMenu();
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, hwnd_, nullptr);
  DestroyMenu(menu);
}

void MRosterWnd::AddUser() {
  AddUserRequest request;
  if (RunAddUser(DialogOwner(), settings_, roster_, &request) && actions_ != nullptr) {
    actions_->AddContact(request.jid, request.nickname, request.group);
  }
}

void MRosterWnd::ContactInfo() {
  if (const RosterItem* contact = SelectedContact()) {
    RunContactInfoDialog(hwnd_, RosterItem(*contact));
  }
}

void MRosterWnd::RemoveUser() {
  const RosterItem* contact = SelectedContact();
  if (contact == nullptr) {
    return;
  }
  RosterItem item(*contact);  // the tree item goes away below
  if (!RunRemoveUserDialog(DialogOwner(), item.name)) {
    return;
  }
  if (actions_ != nullptr) {
    actions_->RemoveContact(item.jid, item.name, item.group);
  }
  roster_.RemoveItem(item);
  RemoveItem(item.group, item.jid);
}

void MRosterWnd::RenameUser() {
  const RosterItem* contact = SelectedContact();
  if (contact == nullptr) {
    return;
  }
  RosterItem item(*contact);
  RenameForm form{item.name, item.group, {}};
  int unused = 0;
  form.groups = AddUserGroups(roster_.CopyGroups(), &unused);
  if (std::find(form.groups.begin(), form.groups.end(), item.group) == form.groups.end()) {
    form.groups.push_back(item.group);
  }
  if (!RunRenameUserDialog(DialogOwner(), form)) {
    return;
  }
  // An emptied nickname falls back to the address, as the roster names a contact without one;
  // an emptied group keeps the old one.
  wmstring nickname = form.nickname.empty() ? utf8_to_wide(item.jid) : form.nickname;
  wmstring group = form.group.empty() ? item.group : form.group;
  if (nickname == item.name && group == item.group) {
    return;
  }
  RosterItem renamed = roster_.GetItem(item.jid.c_str(), "");
  if (renamed.jid.empty()) {
    renamed = item;
  }
  renamed.name = nickname;
  renamed.group = group;
  roster_.AddGroup(group);
  roster_.AddItem(group, nickname, renamed.jid, renamed.serviceType, renamed.resource,
                  renamed.subscription, settings_.onlyOnline ? 0 : 1, renamed.locationRequested);
  if (!Rename(renamed) && (!settings_.onlyOnline || renamed.online == 1)) {
    AddOrUpdate(renamed, renamed.status, renamed.serviceType, true);
  }
  if (actions_ != nullptr) {
    actions_->RenameContact(renamed.jid, nickname, group);
  }
}
