// MConversations: opening a conversation, the one operation the dispatcher, the command line,
// the contact list and the notifications share. Finding and creating a record is one step
// under the conversation lock; a new conversation is listed in the active chats window and
// announced by the first-message sound.
#pragma once

#include "app/notifier.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

class MApp;
class ChatRecord;

class MConversations {
 public:
  explicit MConversations(MApp* app) : app_(app) {}

  void SetNotifier(INotifier* notifier) { notifier_ = notifier; }

  // The open record of this type with the peer (jid: a bare address, or a room occupant's
  // full address), or a new one. Name: the display name, empty for the own bare address.
  // Null while the chat window does not exist. A new conversation plays the first-message
  // sound unless `quiet`.
  ChatRecord* OpenConversation(int type, const wmstring& name, const mstring& jid,
                               const mstring& resource, bool quiet = false);
  // Opens a one-to-one conversation, makes it current and shows the chat window.
  ChatRecord* ShowConversation(const mstring& jid, const mstring& resource);

 private:
  MApp* app_;
  INotifier* notifier_ = nullptr;
};
