#include "app/contact_actions.h"

#include "app/app.h"
#include "app/program_routes.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"
#include "xmpp/operations.h"

void MContactActions::AddContact(const mstring& jid, const wmstring& nickname,
                                 const wmstring& group) {
  add_contact(app_->session, wide_to_utf8(group).c_str(), jid.c_str(),
              wide_to_utf8(nickname).c_str());
}

void MContactActions::RenameContact(const mstring& jid, const wmstring& nickname,
                                    const wmstring& group) {
  set_contact(app_->session, jid.c_str(), wide_to_utf8(nickname).c_str(),
              wide_to_utf8(group).c_str());
}

void MContactActions::RemoveContact(const mstring& jid, const wmstring& nickname,
                                    const wmstring& group) {
  remove_contact(app_->session, wide_to_utf8(group).c_str(), jid.c_str(),
                 wide_to_utf8(nickname).c_str());
}

bool MContactActions::CanChat() {
  return app_->chatWindow != nullptr;
}

// A contact's conversation goes to the bare address: the server hands it to the contact's
// client of highest priority (a resource named in the roster entry may be long gone).
void MContactActions::OpenChat(const mstring& jid, const mstring&) {
  app_->routes().OpenConversation(jid);
}

void MContactActions::OpenGroupChat(const wmstring& group) {
  auto* routes = dynamic_cast<MProgramRoutes*>(&app_->routes());
  if (routes == nullptr || app_->chatWindow == nullptr) {
    return;
  }
  ChatRecord* record =
      routes->conversations().OpenConversation(kChatGroup, group, wide_to_utf8(group), "");
  if (record != nullptr) {
    app_->chatWindow->SetCurrentChat(record);
    app_->chatWindow->Show();
    app_->chatWindow->Redraw();
  }
}

// The contact list was emptied, but the conversations stay open: the active chats list is
// rebuilt from them rather than left empty beside them.
void MContactActions::ActiveChatsReset() {
  if (app_->activeChatsWindow == nullptr) {
    return;
  }
  app_->activeChatsWindow->Reset();
  if (app_->chatWindow != nullptr) {
    for (const auto& record : app_->chatWindow->Chats()) {
      app_->activeChatsWindow->AddChat(record.get());
    }
  }
}

void MContactActions::ActiveChatsRefresh(const mstring& jid) {
  if (app_->activeChatsWindow != nullptr) {
    app_->activeChatsWindow->UpdateChat(app_->roster->GetItem(jid.c_str(), ""));
  }
}

void MContactActions::ShowActiveChats() {
  app_->routes().ShowActiveChatsWindow();
}
