// MRosterWnd: the main screen while logged in ("JROSTERWND"): the tree of contact groups and
// contacts with a presence image each, and the Add, Info and Chat buttons below it. It shows
// what the roster model tells it (it is the model's view) and handles the contact commands of
// the main menu and of the tap-and-hold menu. It never talks to the network: the application's
// operations come through IRosterActions.
#pragma once

#include "base/settings/settings.h"
#include "roster/jabber_roster.h"
#include "roster/roster_view.h"
#include "ui/roster_actions.h"
#include "ui/roster_tree.h"
#include "ui/wnd.h"

constexpr const WCHAR* kRosterWindowName = u"JROSTERWND";
constexpr const WCHAR* kRosterTreeClass = u"JROSTERTREE";

// The controls' ids: the buttons are also the commands they send.
constexpr int kRosterTreeId = 1050;
constexpr int kRosterAddButton = 117;
constexpr int kRosterInfoButton = 103;
constexpr int kRosterChatButton = 104;
// The tap-and-hold menu (menu resource 262).
constexpr UINT kPopupInfo = 40181;
constexpr UINT kPopupChat = 40180;
constexpr UINT kPopupRename = 40200;
constexpr UINT kPopupRemove = 40199;
constexpr UINT kOnlyOnlineCommand = 40162;

class MRosterWnd : public MWnd, public IRosterView {
 public:
  MRosterWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont, MSettings& settings,
             MJabberRoster& roster);
  ~MRosterWnd();

  // Creates the window filling `parentWnd`'s client area, the tree, the three buttons and the
  // image list. Returns the HWND (null on failure).
  HWND Create(MWnd* parentWnd, int iconId = 0, int menuBarId = 0);
  // The application's operations; null: the contact commands change nothing outside.
  void SetActions(IRosterActions* actions);

  void BringToFront() override;
  void Show() override;
  // Empties the tree (and the active chats' list); "Services" again when services are shown.
  void Reset() override;
  void Relayout() override;
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyFont(HWND control, HFONT font) override;
  void OnActivate(WORD state) override;

  // What the roster model tells the window.
  void ShowGroup(const wmstring& group) override;
  void AddItem(const RosterItem& item) override;
  void RefreshItem(const RosterItem& item) override;
  void PresenceChanged(const RosterItem& item, const mstring& serviceType) override;
  void RemoveItem(const wmstring& group, const mstring& jid) override;

  // After a change of nickname or group: every item of the jid takes the new data, moves to
  // the new group when it changed, and shows the status in brackets. False when none was found.
  bool Rename(const RosterItem& item);
  // Rebuilds the contacts of every group but "Services": only the online ones, or all.
  void Repopulate(bool onlyOnline);
  // "Only Online Contacts": inverts the setting, rebuilds, sets the menu check and saves.
  void ToggleOnlyOnline();

  // The tap-and-hold menu for the current actions (the caller destroys it).
  HMENU CreateContactMenu() const;

  MRosterTree& Tree() { return tree_; }
  HWND Control(int id) const;

 private:
  void UpdateChatButton();
  // Inserts the contact when missing (unless its group may not be shown), then gives every item
  // of the jid in that group the data, the display text with `bracket` and the presence image.
  void AddOrUpdate(const RosterItem& item, const mstring& bracket, const mstring& serviceType,
                   bool insert);
  bool MayShowGroup(const wmstring& group) const;
  bool OnCommand(UINT command);
  LRESULT OnNotify(NMHDR* header);
  // The selected contact's data; null (and the root shown first) when none is selected.
  const RosterItem* SelectedContact();
  void OpenChat();
  void ShowContextMenu(const POINT& at);
  void AddUser();
  void ContactInfo();
  void RemoveUser();
  void RenameUser();
  HWND DialogOwner() const;

  MSettings& settings_;
  MJabberRoster& roster_;
  IRosterActions* actions_ = nullptr;
  HWND banner_ = nullptr;
  MRosterTree tree_;
  HWND add_ = nullptr;
  HWND chat_ = nullptr;
  HWND info_ = nullptr;
  HIMAGELIST images_ = nullptr;
};
