// MMessageDisplay: a chat or room message becomes conversation history. The message is
// appended to its conversation ("bob says: ..."), the user is told (sound, popup, or the chat
// window brought forward, as the settings say) and the conversation is marked unread when it is
// not in view. Every name and body from the network is protected so it shows as text.
#pragma once

#include "app/notifier.h"
#include "platform/window.h"
#include "xml/mstring.h"
#include "xml/packet.h"
#include "xml/wmstring.h"

class MApp;
class MConversations;
class ChatRecord;

class MMessageDisplay {
 public:
  MMessageDisplay(MApp* app, MConversations* conversations)
      : app_(app), conversations_(conversations) {}

  void SetNotifier(INotifier* notifier) { notifier_ = notifier; }
  // A message of type chat (or error) or groupchat.
  void Show(packet* p, bool groupchat);

 private:
  // A message of type "error": one line naming the address and what went wrong.
  void ShowError(packet* p, const mstring& from);
  // The conversation of a one-to-one message: a room occupant writing privately gets a
  // conversation of their own (keyed by the full address); anyone else the bare address's.
  ChatRecord* OneToOneRecord(const mstring& bare, const mstring& resource, bool* privateInRoom);
  wmstring SpeakerName(const mstring& bare, const mstring& resource);
  void AppendMessage(ChatRecord* record, bool groupchat, const wmstring& speaker,
                     const mstring& resource, const wmstring& body, const mstring& subject);
  void PlayMessageSound();
  void BringToUser(ChatRecord* record, bool groupchat, bool inView, const mstring& title,
                   const wmstring& speaker, const wmstring& body, HWND focus);
  void BringChatWindowForward(ChatRecord* record);

  MApp* app_;
  MConversations* conversations_;
  INotifier* notifier_ = nullptr;
};
