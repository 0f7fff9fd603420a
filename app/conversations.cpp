#include "app/conversations.h"

#include "app/app.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"

namespace {

// Holds a critical section for one scope.
class Hold {
 public:
  explicit Hold(CRITICAL_SECTION* lock) : lock_(lock) { EnterCriticalSection(lock_); }
  ~Hold() { LeaveCriticalSection(lock_); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  CRITICAL_SECTION* lock_;
};

}  // namespace

ChatRecord* MConversations::OpenConversation(int type, const wmstring& name, const mstring& jid,
                                             const mstring& resource, bool quiet) {
  MChatWnd* chat = app_->chatWindow.get();
  if (chat == nullptr || jid.empty()) {
    return nullptr;
  }
  Hold hold(&app_->conversationLock);
  RosterItem peer = app_->roster->GetItem(jid.c_str(), resource.c_str());
  if (peer.jid.empty()) {
    // Someone outside the contact list (or a room): a record of their own.
    peer.jid = jid;
    peer.name = utf8_to_wide(jid);
    peer.resource = resource;
    peer.group = u"Online";
  }
  if (ChatRecord* open = chat->FindChat(peer.jid, type)) {
    return open;
  }
  wmstring displayName = name;
  if (displayName.empty()) {
    displayName = utf8_to_wide(session_own_bare(app_->session));
  }
  ChatRecord* record = chat->OpenChat(type, displayName, peer);
  if (app_->activeChatsWindow != nullptr) {
    app_->activeChatsWindow->AddChat(record);
  }
  const MSettings& settings = *app_->settings;
  if (!quiet && settings.soundFirstMessageSupport && notifier_ != nullptr) {
    if (settings.soundSupport) {
      notifier_->PlayEventSound(EventSound::FirstMessage);
    }
    if (settings.vibrateSupport) {
      notifier_->Vibrate(settings.vibrationDuration);
    }
  }
  return record;
}

ChatRecord* MConversations::ShowConversation(const mstring& jid, const mstring& resource) {
  if (app_->chatWindow == nullptr) {
    return nullptr;
  }
  // An occupant of an open room is talked to privately, under the full address.
  bool occupant = !resource.empty() && app_->chatWindow->FindChat(jid, kChatConference) != nullptr;
  ChatRecord* record = occupant
                           ? OpenConversation(kChatOneToOne, wmstring(), jid + "/" + resource, "")
                           : OpenConversation(kChatOneToOne, wmstring(), jid, resource);
  if (record != nullptr) {
    app_->chatWindow->SetCurrentChat(record);
    app_->chatWindow->Show();
    app_->chatWindow->Relayout();
    app_->chatWindow->Redraw();
  }
  return record;
}
