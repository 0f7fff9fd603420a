// MActiveChatsWnd ("JACTIVECHATSWND"): the open conversations as a flat list with a presence
// or new-message image each; the user jumps into one with Chat, a double click or Enter.
#pragma once

#include <vector>

#include "base/settings/settings.h"
#include "platform/controls.h"
#include "ui/chat_record.h"
#include "ui/wnd.h"

class MChatWnd;
class IRosterActions;

constexpr const WCHAR* kActiveChatsWindowName = u"JACTIVECHATSWND";
constexpr int kActiveChatsInfoButton = 103;
constexpr int kActiveChatsChatButton = 104;
constexpr int kNewMessageImage = 17;
constexpr int kRoomImage = 2;

class MActiveChatsWnd : public MWnd {
 public:
  MActiveChatsWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont,
                  const MSettings& settings);
  ~MActiveChatsWnd();

  HWND Create(MWnd* parentWnd, int iconId = 0, int menuBarId = 0);
  // The chat window whose records are listed, and the roster actions for Info.
  void SetChatWindow(MChatWnd* chat);
  void SetRosterActions(IRosterActions* actions);

  void AddChat(ChatRecord* record);
  // Removes every entry whose record's jid is `jid` (compared without regard to ASCII case).
  void RemoveChat(const mstring& jid);
  // Recomputes text and image of every entry of `item`'s jid (presence, new-message flag).
  void UpdateChat(const RosterItem& item);

  void Show() override;
  void Reset() override;
  void Relayout() override;
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetFontIndirect(HWND control, const LOGFONT& logFont) override;
  void ApplyFont(HWND control, HFONT font) override;
  void OnActivate(WORD state) override;

  HWND Tree() const;
  HWND Control(int id) const;
  // The record of an entry (null for none), and the entries in list order.
  ChatRecord* RecordOf(HTREEITEM item) const;
  std::vector<HTREEITEM> Items() const;

 private:
  wmstring ItemText(const ChatRecord& record) const;
  int ItemImage(const ChatRecord& record) const;
  void SetItem(HTREEITEM item, const ChatRecord& record);
  HTREEITEM Selection() const;
  void ShowFirst();
  bool OnCommand(UINT command);
  LRESULT OnNotify(NMHDR* header);
  void OpenSelected();
  void ShowSelectedInfo();
  void ShowContextMenu(const POINT& at);

  const MSettings& settings_;
  MChatWnd* chat_ = nullptr;
  IRosterActions* rosterActions_ = nullptr;
  HWND tree_ = nullptr;
  HWND chatButton_ = nullptr;
  HWND infoButton_ = nullptr;
  HIMAGELIST images_ = nullptr;
};
