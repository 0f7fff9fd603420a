// MContactActions: the roster window's operations on the network side: a new contact is
// subscribed to and filed, a renamed or moved one updated, a removed one taken out of the
// server's roster; a chat opens the conversation in the chat window.
#pragma once

#include "ui/roster_actions.h"

class MApp;

class MContactActions : public IRosterActions {
 public:
  explicit MContactActions(MApp* app) : app_(app) {}

  void AddContact(const mstring& jid, const wmstring& nickname, const wmstring& group) override;
  void RenameContact(const mstring& jid, const wmstring& nickname, const wmstring& group) override;
  void RemoveContact(const mstring& jid, const wmstring& nickname, const wmstring& group) override;
  bool CanChat() override;
  void OpenChat(const mstring& jid, const mstring& resource) override;
  void OpenGroupChat(const wmstring& group) override;
  void ShowActiveChats() override;
  void ActiveChatsReset() override;
  void ActiveChatsRefresh(const mstring& jid) override;

 private:
  MApp* app_;
};
