// MNotificationManager: the program's notification popups. Each popup gets an id from a
// process-wide counter that starts at 10000, a bubble on the main frame with "Chat" and
// "Close" buttons (commands 114 and 113, the id in lParam), and a 30-second timer on the main
// frame with the id as timer id. The popup disappears, and its record is freed, when the timer
// fires, when it is closed or when its chat is opened.
//
// A contact has at most one popup at a time: a new popup with the title of a shown one replaces
// it, so a burst of messages from one contact never piles up bubbles.
//
// Titles and texts may come from the network: they are escaped before they enter the popup's
// HTML body. User-interface thread only.
#pragma once

#include <functional>
#include <map>

#include "platform/window.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

class MNotificationManager {
 public:
  using SinkProvider = std::function<HWND()>;
  using ChatCallback = std::function<void(const mstring& jid, const mstring& resource)>;

  static constexpr UINT kLifetimeMs = 30000;
  static constexpr int kBubbleSeconds = 20;

  // `sink` names the window that gets the popups' timers and commands (the main frame).
  explicit MNotificationManager(SinkProvider sink);

  // What "Chat" on a popup opens: its title split into the bare JID and the resource.
  void SetChatCallback(ChatCallback callback) { chat_ = std::move(callback); }

  // Title: a JID, optionally with "/" and a resource. Nothing is shown (and nothing kept) when
  // there is no sink or the bubble cannot be shown.
  void ShowNotification(const wmstring& title, const wmstring& text);
  void CloseNotification(DWORD id);
  void ChatFromNotification(DWORD id);
  void CloseAllNotifications();
  // A WM_TIMER of the sink: true when `id` is a popup's (which then disappears).
  bool HandleTimer(UINT_PTR id);

  bool Has(DWORD id) const { return records_.count(id) != 0; }
  std::size_t Count() const { return records_.size(); }
  // The id of the popup with `title`, 0 when none is shown.
  DWORD FindByTitle(const wmstring& title) const;

 private:
  struct Record {
    HWND sink = nullptr;
    wmstring title;
    wmstring body;
  };

  SinkProvider sink_;
  ChatCallback chat_;
  std::map<DWORD, Record> records_;
};

// The popup's HTML body around `text`, which is escaped here (& < > " ').
wmstring NotificationBody(const wmstring& text);
