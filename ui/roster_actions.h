// What the roster window asks of the rest of the program. The window never talks to the
// network itself: adding, renaming and removing a contact, opening a chat and showing the
// active chats are the application's operations, supplied when it wires the program.
#pragma once

#include "roster/roster_item.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

class IRosterActions {
 public:
  virtual ~IRosterActions() = default;
  // Subscribes to the contact and files it in the roster with that group and nickname.
  virtual void AddContact(const mstring& jid, const wmstring& nickname, const wmstring& group) = 0;
  // Sends the roster update with the new nickname and group.
  virtual void RenameContact(const mstring& jid, const wmstring& nickname,
                             const wmstring& group) = 0;
  // Sends the roster removal of the contact.
  virtual void RemoveContact(const mstring& jid, const wmstring& nickname,
                             const wmstring& group) = 0;
  // Whether chats can be opened yet; the Chat button and commands are disabled until then.
  virtual bool CanChat() = 0;
  // Opens (or reuses) a one-to-one chat and brings it forward.
  virtual void OpenChat(const mstring& jid, const mstring& resource) = 0;
  // Opens a chat with every contact of a group (the Chat command on a group item).
  virtual void OpenGroupChat(const wmstring& /*group*/) {}
  // Brings the active-chats window forward.
  virtual void ShowActiveChats() = 0;
  // The active-chats window drops its list (the roster was emptied), or refreshes one contact
  // (it was renamed).
  virtual void ActiveChatsReset() {}
  virtual void ActiveChatsRefresh(const mstring& /*jid*/) {}
  // Starts a voice call with the contact (the active chats window's Dial).
  virtual void DialContact(const RosterItem& /*contact*/) {}
};
