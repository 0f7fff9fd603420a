// MChatWnd ("JCHATWND"): the one window in which every conversation is read and written: an
// HTML view of the current conversation's history, the drop-down list of open conversations
// above it, and below it the input field with the Send, Clear and Close buttons. The
// dispatcher adds incoming messages through the same record operations the window uses.
#pragma once

#include <list>
#include <memory>

#include "base/settings/settings.h"
#include "ui/chat_actions.h"
#include "ui/chat_record.h"
#include "ui/html_wnd.h"

class MActiveChatsWnd;

constexpr const WCHAR* kChatWindowName = u"JCHATWND";
constexpr const WCHAR* kChatWindowClass = u"JCHATWNDCLASS";

// The controls' ids (the buttons are also the commands they send).
constexpr int kChatListId = 65522;
constexpr int kChatInputId = 109;
constexpr int kChatSendButton = 110;
constexpr int kChatClearButton = 111;
constexpr int kChatCloseButton = 112;
constexpr UINT kQuickPhraseCommand = 40157;
// At most this many characters are typed into the input field.
constexpr int kChatInputLimit = 1023;

class MChatWnd : public MHtmlWnd {
 public:
  MChatWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont, const MSettings& settings);
  ~MChatWnd();

  HWND Create(MWnd* parentWnd, int iconId = 0, int menuBarId = 0);
  // The application's operations; null: Send and Close change nothing outside the window.
  void SetActions(IChatActions* actions);
  // The active chats window that lists the conversations (may be null).
  void SetActiveChats(MActiveChatsWnd* activeChats);

  // Record operations (any thread). Formatted text is protected (& < > stay text), then
  // emoticons ("SHOW EMOTICONS") and links are applied.
  void AppendToHistory(ChatRecord* record, const wmstring& text, bool format);
  void AppendNarrowToHistory(ChatRecord* record, const char* text, bool format = true);
  void WriteHeader(ChatRecord* record);

  // Window operations (user-interface thread).
  ChatRecord* OpenChat(int type, const wmstring& name, const RosterItem& peer);
  // The first record whose jid is `title` (any when empty) and whose type is `type` (any
  // when -1); null when none.
  ChatRecord* FindChat(const mstring& title, int type);
  void SetCurrentChat(ChatRecord* record);
  ChatRecord* CurrentChat() const { return current_; }
  // Closes `record` (the current one when null): leaves a room, drops its list entries.
  void CloseChat(ChatRecord* record = nullptr);
  void CloseAllChats();
  // The open records, the most recently made current at the back.
  const std::list<std::unique_ptr<ChatRecord>>& Chats() const { return chats_; }
  // Sends the input field's text to the current conversation (the Send button).
  void Send();
  // Marks the record as having a message the user has not seen and updates its entry in the
  // active chats window.
  void SetNewMessage(ChatRecord* record, bool on);
  // Whether the window is visible and `record` is its current conversation.
  bool InView(const ChatRecord* record);

  void BringToFront() override;
  void Show() override;
  void Reset() override;
  void Relayout() override;
  void OnActivate(WORD state) override;
  void Redraw() override;
  bool OpenLink(const mstring& target) override;
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  HWND Control(int id) const;

 private:
  // The input field's replacement procedure: the Enter rule and the page keys.
  static LRESULT InputProc(HWND input, UINT message, WPARAM wParam, LPARAM lParam);
  bool EnterSends() const;
  bool OnCommand(WORD id, WORD code);
  void OnListSelection();
  // The input field's text, and setting it with the caret at its end (or start).
  wmstring InputText() const;
  void SetInputText(const wmstring& text, bool caretAtEnd);
  // Keeps the input within kChatInputLimit characters, never splitting a surrogate pair.
  void LimitInput();
  void SelectTitle(const mstring& title, bool addWhenAbsent);
  void RemoveTitle(const mstring& title);
  // The body of the Send button after the text was taken; true when the input may be cleared.
  bool SendText(const wmstring& text);
  bool SendCommand(const wmstring& text);
  void Echo(const wmstring& text, int sendResult);
  void AppendQuickPhrase();
  void UpdateActiveChat(ChatRecord* record);

  const MSettings& settings_;
  IChatActions* actions_ = nullptr;
  MActiveChatsWnd* activeChats_ = nullptr;
  HWND input_ = nullptr;
  HWND list_ = nullptr;
  WNDPROC inputProc_ = nullptr;
  ChatRecord* current_ = nullptr;
  std::list<std::unique_ptr<ChatRecord>> chats_;
  HWND send_ = nullptr;
  HWND clear_ = nullptr;
  HWND close_ = nullptr;
  // What the view holds: this record's history up to drawnLength_ characters, so a grown
  // history adds only its new tail to the view.
  const ChatRecord* drawn_ = nullptr;
  std::size_t drawnLength_ = 0;
};
