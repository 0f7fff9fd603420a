// Conference rooms: join, leave, invite.
#include "xmpp/operations.h"
#include "xmpp/stanza_send.h"

namespace {

mstring room_with_nick(const char* room, const char* nickname) {
  return mstring(room ? room : "") + "/" + (nickname ? nickname : "");
}

}  // namespace

int join_room(MJabberSession* session, const char* room, const char* nickname,
              const char* password) {
  if (!session || !session->conn)
    return -1;
  mstring own = session_own_address(session);
  return jab_send_muc_join(session->conn, room_with_nick(room, nickname).c_str(), own.c_str(),
                           password);
}

int leave_room(MJabberSession* session, const char* room, const char* nickname) {
  if (!session || !session->conn)
    return -1;
  mstring own = session_own_address(session);
  return jab_send_muc_leave(session->conn, room_with_nick(room, nickname).c_str(), own.c_str());
}

int invite_to_room(MJabberSession* session, const char* room, const char* invitee,
                   const char* reason) {
  if (!session || !session->conn)
    return -1;
  return jab_send_muc_invite(session->conn, room, invitee, reason);
}
