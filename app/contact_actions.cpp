#include "app/contact_actions.h"

#include "app/app.h"
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

void MContactActions::OpenChat(const mstring& jid, const mstring&) {
  app_->routes().OpenConversation(jid);
}

void MContactActions::ShowActiveChats() { app_->routes().ShowActiveChatsWindow(); }
