// What the chat window asks of the rest of the program. The window never talks to the network
// itself: sending, inviting and leaving are the application's operations, supplied when it
// wires the program (as the roster window's IRosterActions are).
#pragma once

#include <vector>

#include "roster/roster_item.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

class IChatActions {
 public:
  virtual ~IChatActions() = default;
  // A message of type "chat" / "groupchat"; the body is UTF-8. 0 when it was sent (or queued
  // to be sent), non-zero otherwise.
  virtual int SendChat(const mstring& to, const mstring& body) = 0;
  virtual int SendGroupChat(const mstring& room, const mstring& body) = 0;
  virtual void InviteToRoom(const mstring& room, const mstring& invitee, const mstring& reason) = 0;
  virtual void LeaveRoom(const mstring& room) = 0;
  // The user's own name for the "says:" line of sent messages.
  virtual wmstring OwnName() = 0;
  // The contacts of a roster group (the recipients of a group conversation).
  virtual std::vector<RosterItem> GroupMembers(const wmstring& group) = 0;
  // A link to an "xmpp:" address was activated in the view.
  virtual void OpenXmppAddress(const mstring& /*address*/) {}
  // The roster window comes forward (the last conversation was closed).
  virtual void ShowRoster() {}
};
