// MChatOperations: the chat window's operations on the network side (sending, inviting,
// leaving a room) and the rooms the user joined with the nickname used in each.
#pragma once

#include <map>
#include <string>

#include "ui/chat_actions.h"

class MApp;

class MChatOperations : public IChatActions {
 public:
  explicit MChatOperations(MApp* app) : app_(app) {}

  int SendChat(const mstring& to, const mstring& body) override;
  int SendGroupChat(const mstring& room, const mstring& body) override;
  void InviteToRoom(const mstring& room, const mstring& invitee, const mstring& reason) override;
  void LeaveRoom(const mstring& room) override;
  wmstring OwnName() override;
  std::vector<RosterItem> GroupMembers(const wmstring& group) override;
  void OpenXmppAddress(const mstring& address) override;
  void ShowRoster() override;

  // Opens the room's conversation, shows it and enters the room under `nickname`.
  void JoinRoom(const mstring& room, const mstring& nickname, const mstring& password);
  // The nickname the user joined `room` with ("" when not joined).
  mstring Nickname(const mstring& room) const;

 private:
  MApp* app_;
  std::map<std::string, mstring> nicknames_;  // by room address, folded
};
