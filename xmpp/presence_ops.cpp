// Messages, presence and subscriptions, roster edits.
#include <cstring>

#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xmpp/operations.h"
#include "xmpp/stanza_send.h"

namespace {

int send_deferrable(MJabberSession* session, xml_node* node) {
  if (!session || !session->conn) {
    xml_node_free(node);
    return -1;
  }
  return jab_send_built(session->conn, node, 1);
}

int send_subscription(MJabberSession* session, int type, const char* word, const char* contact) {
  return send_deferrable(session, build_presence(type, contact, word, nullptr));
}

jconn* conn_of(MJabberSession* session) {
  return session ? session->conn : nullptr;
}

}  // namespace

int send_chat(MJabberSession* session, const char* to, const char* body) {
  return send_deferrable(session, build_message("chat", to, nullptr, body, nullptr));
}

int send_groupchat(MJabberSession* session, const char* room, const char* body) {
  return send_deferrable(session, build_message("groupchat", room, nullptr, body, nullptr));
}

int send_subscribe(MJabberSession* session, const char* contact) {
  return send_subscription(session, SUBTYPE_SUBSCRIBE, "subscribe", contact);
}

int send_subscribed(MJabberSession* session, const char* contact) {
  return send_subscription(session, SUBTYPE_SUBSCRIBED, "subscribed", contact);
}

int send_unsubscribe(MJabberSession* session, const char* contact) {
  return send_subscription(session, SUBTYPE_UNSUBSCRIBE, "unsubscribe", contact);
}

int send_unsubscribed(MJabberSession* session, const char* contact) {
  return send_subscription(session, SUBTYPE_UNSUBSCRIBED, "unsubscribed", contact);
}

int send_own_presence(MJabberSession* session, const char* status, const char* show) {
  if (!conn_of(session))
    return -1;
  // "available" is the absence of a show value: servers refuse it as a <show> text (ejabberd
  // bounces the whole presence, and the user would appear offline).
  if (show && std::strcmp(show, "available") == 0)
    show = "";
  int priority = static_cast<int>(session->host->Settings().priority);
  return jab_send_own_presence(session->conn, status, show, priority);
}

int add_contact(MJabberSession* session, const char* group, const char* contact, const char* name) {
  return conn_of(session) ? jab_send_subscribe(session->conn, group, contact, name) : -1;
}

int set_contact(MJabberSession* session, const char* contact, const char* name, const char* group) {
  return conn_of(session) ? jab_send_roster_set(session->conn, group, contact, name) : -1;
}

int remove_contact(MJabberSession* session, const char* group, const char* contact,
                   const char* name) {
  return conn_of(session) ? jab_send_roster_remove(session->conn, group, contact, name) : -1;
}
