#include "app/chat_operations.h"

#include "app/app.h"
#include "app/program_routes.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"
#include "xmpp/operations.h"

int MChatOperations::SendChat(const mstring& to, const mstring& body) {
  return send_chat(app_->session, to.c_str(), body.c_str());
}

int MChatOperations::SendGroupChat(const mstring& room, const mstring& body) {
  return send_groupchat(app_->session, room.c_str(), body.c_str());
}

void MChatOperations::InviteToRoom(const mstring& room, const mstring& invitee,
                                   const mstring& reason) {
  invite_to_room(app_->session, room.c_str(), invitee.c_str(), reason.c_str());
}

void MChatOperations::LeaveRoom(const mstring& room) {
  auto joined = nicknames_.find(mstrfold(room.c_str()));
  if (joined == nicknames_.end()) {
    return;
  }
  leave_room(app_->session, room.c_str(), joined->second.c_str());
  nicknames_.erase(joined);
}

wmstring MChatOperations::OwnName() {
  mstring own = session_own_bare(app_->session);
  return utf8_to_wide(own.substr(0, own.find('@')));
}

std::vector<RosterItem> MChatOperations::GroupMembers(const wmstring& group) {
  std::list<RosterItem> members = app_->roster->ListItems(group);
  return std::vector<RosterItem>(members.begin(), members.end());
}

// "xmpp:bob@example.org" (a query such as "?message" is dropped) opens a conversation;
// "xmpp:room@service?join" enters the room.
void MChatOperations::OpenXmppAddress(const mstring& address) {
  mstring rest = address.substr(address.find(':') + 1);
  std::uint32_t query = rest.find('?');
  mstring jid = rest.substr(0, query);
  if (jid.empty()) {
    return;
  }
  if (query != mstring::npos && rest.substr(query + 1).substr(0, 4) == "join") {
    JoinRoom(jid, mstring(), mstring());
    return;
  }
  app_->routes().OpenConversation(jid);
}

void MChatOperations::ShowRoster() {
  app_->routes().ShowRosterWindow();
}

void MChatOperations::JoinRoom(const mstring& room, const mstring& nickname,
                               const mstring& password) {
  auto* routes = dynamic_cast<MProgramRoutes*>(&app_->routes());
  if (routes == nullptr || room.empty() || app_->chatWindow == nullptr) {
    return;
  }
  mstring nick = nickname.empty() ? wide_to_utf8(OwnName()) : nickname;
  ChatRecord* record =
      routes->conversations().OpenConversation(kChatConference, utf8_to_wide(room), room, "");
  if (record == nullptr) {
    return;
  }
  nicknames_[mstrfold(room.c_str())] = nick;
  join_room(app_->session, room.c_str(), nick.c_str(), password.c_str());
  app_->chatWindow->SetCurrentChat(record);
  app_->chatWindow->Show();
  app_->chatWindow->Redraw();
}

mstring MChatOperations::Nickname(const mstring& room) const {
  auto joined = nicknames_.find(mstrfold(room.c_str()));
  return joined == nicknames_.end() ? mstring() : joined->second;
}
