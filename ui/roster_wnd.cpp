// MRosterWnd: creation, layout, focus and the model's calls; the commands are in
// roster_wnd_commands.cpp.
#include "ui/roster_wnd.h"

#include "platform/controls.h"
#include "ui/frame_link.h"
#include "ui/roster_images.h"
#include "xml/text_convert.h"

namespace {

// Buttons a finger or a mouse can hit comfortably on a desktop screen.
constexpr int kButtonHeight = 32;

wmstring ServicesGroup() {
  return utf8_to_wide(mstring(kServicesGroup));
}

}  // namespace

MRosterWnd::MRosterWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont,
                       MSettings& settings, MJabberRoster& roster)
    : MWnd(kRosterWindowName, instance, kRosterWindowName, stack, logFont),
      settings_(settings),
      roster_(roster) {}

MRosterWnd::~MRosterWnd() {
  if (IsWindow(tree_.Hwnd())) {
    SendMessage(tree_.Hwnd(), TVM_SETIMAGELIST, 0, 0);
  }
  if (images_ != nullptr) {
    ImageList_Destroy(images_);
  }
}

HWND MRosterWnd::Create(MWnd* parentWnd, int iconId, int menuBarId) {
  if (MWnd::Create(parentWnd, iconId, menuBarId) == nullptr) {
    return nullptr;
  }
  // The advertising banner's strip: empty, 0 pixels high.
  banner_ = AddControl(WC_STATIC, u"", 0, WS_VISIBLE | SS_LEFT);
  tree_.Attach(AddControl(WC_TREEVIEW, kRosterTreeClass, kRosterTreeId,
                          WS_VISIBLE | WS_CLIPSIBLINGS | TVS_HASBUTTONS));
  add_ = AddControl(WC_BUTTON, u"Add", kRosterAddButton, WS_VISIBLE | WS_BORDER | BS_PUSHBUTTON);
  chat_ = AddControl(WC_BUTTON, u"Chat", kRosterChatButton, WS_VISIBLE | WS_BORDER | BS_PUSHBUTTON);
  info_ = AddControl(WC_BUTTON, u"Info", kRosterInfoButton, WS_VISIBLE | WS_BORDER | BS_PUSHBUTTON);
  SetFontIndirect(tree_.Hwnd(), logFont_);
  images_ = CreateRosterImageList(instance_, settings_.smallBitmaps);
  if (images_ != nullptr) {
    SendMessage(tree_.Hwnd(), TVM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  }
  UpdateChatButton();
  Relayout();
  tree_.ShowRootFirst();
  return hwnd_;
}

void MRosterWnd::SetActions(IRosterActions* actions) {
  actions_ = actions;
  UpdateChatButton();
}

void MRosterWnd::UpdateChatButton() {
  if (chat_ != nullptr) {
    EnableWindow(chat_, actions_ != nullptr && actions_->CanChat() ? TRUE : FALSE);
  }
}

HWND MRosterWnd::Control(int id) const {
  return hwnd_ != nullptr ? GetDlgItem(hwnd_, id) : nullptr;
}

void MRosterWnd::Relayout() {
  if (hwnd_ == nullptr) {
    return;
  }
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  int banner = 0;
  int third = width / 3;
  MoveWindow(banner_, 0, 0, width, banner, TRUE);
  MoveWindow(tree_.Hwnd(), 0, banner, width, height - banner - kButtonHeight, TRUE);
  int y = height - kButtonHeight;
  MoveWindow(add_, 0, y, third, kButtonHeight, TRUE);
  MoveWindow(info_, third, y, third, kButtonHeight, TRUE);
  MoveWindow(chat_, 2 * third, y, width - 2 * third, kButtonHeight, TRUE);
}

void MRosterWnd::BringToFront() {
  MWnd::BringToFront();
  SetFocus(tree_.Hwnd());
  tree_.ShowRootFirst();
}

void MRosterWnd::Show() {
  MWnd::Show();
  SetActiveWindow(tree_.Hwnd());
  if (GetFocus() != tree_.Hwnd()) {
    SetFocus(tree_.Hwnd());
  }
  HTREEITEM selected = tree_.Selection();
  if (selected != nullptr) {
    SendMessage(tree_.Hwnd(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE,
                reinterpret_cast<LPARAM>(selected));
  } else {
    tree_.ShowRootFirst();
  }
}

void MRosterWnd::OnActivate(WORD state) {
  if (state != WA_INACTIVE && tree_.Hwnd() != nullptr) {
    SetFocus(tree_.Hwnd());
  }
}

void MRosterWnd::ApplyFont(HWND, HFONT font) {
  MWnd::ApplyFont(tree_.Hwnd(), font);
}

void MRosterWnd::Reset() {
  if (actions_ != nullptr) {
    actions_->ActiveChatsReset();
  }
  tree_.DeleteAll();
  if (settings_.showServices) {
    tree_.EnsureGroup(ServicesGroup(), TVI_LAST);
  }
  tree_.ShowRootFirst();
}

bool MRosterWnd::MayShowGroup(const wmstring& group) const {
  return settings_.showServices || !(group == ServicesGroup());
}

void MRosterWnd::ShowGroup(const wmstring& group) {
  if (MayShowGroup(group)) {
    tree_.EnsureGroup(group);
  }
}

void MRosterWnd::AddOrUpdate(const RosterItem& item, const mstring& bracket,
                             const mstring& serviceType, bool insert) {
  if (!MayShowGroup(item.group)) {
    return;
  }
  HTREEITEM group = tree_.FindGroup(item.group);
  std::vector<HTREEITEM> items;
  if (group != nullptr) {
    items = tree_.ContactItems(item.jid, group);
  }
  RosterItem data(item);
  if (data.serviceType.empty()) {
    data.serviceType = serviceType;
  }
  wmstring text = RosterDisplayText(item.name, bracket, settings_.showStatus);
  if (items.empty()) {
    if (!insert) {
      return;
    }
    group = tree_.EnsureGroup(item.group);
    items.push_back(tree_.InsertContact(group, data, text, PresenceImage(data.serviceType, 0, "")));
  }
  int image = PresenceImage(data.serviceType, item.online, item.show);
  for (HTREEITEM each : items) {
    tree_.SetContact(each, data, text, image);
  }
}

void MRosterWnd::AddItem(const RosterItem& item) {
  AddOrUpdate(item, item.show, item.serviceType, true);
}

void MRosterWnd::RefreshItem(const RosterItem& item) {
  AddOrUpdate(item, item.show, item.serviceType, false);
}

void MRosterWnd::PresenceChanged(const RosterItem& item, const mstring& serviceType) {
  // With only online contacts shown, a contact that is not online is not brought in.
  bool insert = !settings_.onlyOnline || item.online == 1;
  AddOrUpdate(item, item.show, item.serviceType.empty() ? serviceType : item.serviceType, insert);
}

void MRosterWnd::RemoveItem(const wmstring& group, const mstring& jid) {
  mstring key = wide_to_utf8(group);
  for (HTREEITEM each : tree_.Groups()) {
    RosterItem* data = tree_.Data(each);
    if (data != nullptr && mstricmp(data->jid.c_str(), key.c_str()) == 0) {
      for (HTREEITEM item : tree_.ContactItems(jid, each)) {
        tree_.Delete(item);
      }
    }
  }
}

bool MRosterWnd::Rename(const RosterItem& item) {
  std::vector<HTREEITEM> items = tree_.ContactItems(item.jid);
  wmstring text = RosterDisplayText(item.name, item.status, settings_.showStatus);
  int image = PresenceImage(item.serviceType, item.online, item.show);
  for (HTREEITEM each : items) {
    RosterItem* old = tree_.Data(tree_.Parent(each));
    if (old != nullptr && !(old->name == item.group)) {
      tree_.Delete(each);
      if (!MayShowGroup(item.group)) {
        continue;
      }
      each = tree_.InsertContact(tree_.EnsureGroup(item.group), item, text, image);
    }
    tree_.SetContact(each, item, text, image);
  }
  if (actions_ != nullptr) {
    actions_->ActiveChatsRefresh(item.jid);
  }
  return !items.empty();
}

void MRosterWnd::Repopulate(bool onlyOnline) {
  for (const RosterGroup& group : roster_.CopyGroups()) {
    if (group.name == kServicesGroup) {
      continue;
    }
    HTREEITEM groupItem = tree_.EnsureGroup(utf8_to_wide(group.name));
    for (HTREEITEM child : tree_.Children(groupItem)) {
      tree_.Delete(child);
    }
    for (const RosterItem& item : group.items) {
      if (!onlyOnline || item.online == 1) {
        wmstring text = RosterDisplayText(item.name, item.show, settings_.showStatus);
        tree_.InsertContact(groupItem, item, text,
                            PresenceImage(item.serviceType, item.online, item.show));
      }
    }
  }
  tree_.ShowRootFirst();
}

void MRosterWnd::ToggleOnlyOnline() {
  settings_.onlyOnline = !settings_.onlyOnline;
  Repopulate(settings_.onlyOnline);
  UINT check = settings_.onlyOnline ? MF_CHECKED : MF_UNCHECKED;
  if (IsWindow(FrameWindow())) {
    SendMessage(FrameWindow(), WM_MWND_CHECKMENUITEM, 0,
                reinterpret_cast<LPARAM>(new MenuItemRecord{kOnlyOnlineCommand, check, 0}));
  }
  settings_.Save();
}
