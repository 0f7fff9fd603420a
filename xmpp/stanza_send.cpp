#include "xmpp/stanza_send.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include "xml/packet.h"
#include "xmpp/net_socket.h"
#include "xmpp/session.h"

int jab_send_built(jconn* c, xml_node* node, int deferrable) {
  if (!node)
    return -1;
  int result = jab_send_node(c, node, deferrable);
  xml_node_free(node);
  return result;
}

const char* jab_answer_id(jconn* c, const char* request_id) {
  return request_id && *request_id ? request_id : jab_next_id(c);
}

int jab_send_presence(jconn* c, int type_code, const char* to, const char* status,
                      const char* show) {
  return jab_send_built(c, build_presence(type_code, to, status, show), 0);
}

int jab_send_own_presence(jconn* c, const char* status, const char* show, int priority) {
  return jab_send_built(c, build_own_presence(status, show, priority), 1);
}

int jab_send_subscribe(jconn* c, const char* group, const char* contact, const char* name) {
  jab_send_roster_set(c, group, contact, name);
  return jab_send_presence(c, SUBTYPE_SUBSCRIBE, contact, "Normal Subscription Request", nullptr);
}

int jab_send_message(jconn* c, const char* type, const char* to, const char* subject,
                     const char* body, const char* thread) {
  return jab_send_built(c, build_message(type, to, subject, body, thread), 0);
}

int jab_send_roster_get(jconn* c, const char* id) {
  return jab_send_built(c, build_roster_get(id), 0);
}

// An iq must carry an id: the server refuses a roster set without one, and the contact would
// be filed without its name and group.
int jab_send_roster_set(jconn* c, const char* group, const char* contact, const char* name) {
  return jab_send_built(c, build_roster_set(group, contact, name, jab_next_id(c)), 0);
}

int jab_send_roster_remove(jconn* c, const char* group, const char* contact, const char* name) {
  return jab_send_built(c, build_roster_remove(group, contact, name, jab_next_id(c)), 0);
}

int jab_send_auth_query(jconn* c, const char* id) {
  return jab_send_built(c, build_auth_query(id, c->user ? c->user->user : nullptr), 0);
}

int jab_send_auth(jconn* c, int use_digest, const char* id) {
  const char* user = c->user ? c->user->user : nullptr;
  return jab_send_built(c, build_auth(id, user, kResource, c->password, c->stream_id, use_digest),
                        0);
}

int jab_send_register(jconn* c, const char* id) {
  const char* user = c->user ? c->user->user : nullptr;
  const char* password = c->password && *c->password ? c->password : nullptr;
  return jab_send_built(c, build_register(id, user, kResource, password), 0);
}

int jab_send_register_query(jconn* c, const char* to, const char* id) {
  return jab_send_built(c, build_register_query(to, id), 0);
}

int jab_send_register_to(jconn* c, const char* to, const char* user_name, const char* password,
                         const char* key, const char* id) {
  return jab_send_built(c, build_register_to(to, user_name, password, key, id), 0);
}

int jab_send_agents_get(jconn* c, const char* id) {
  return jab_send_built(c, build_agents_get(id), 0);
}

int jab_send_disco_items_server(jconn* c, const char* id) {
  return jab_send_built(c, build_disco_items_server(id, c->user ? c->user->server : nullptr), 0);
}

int jab_send_disco_items(jconn* c, const char* to, const char* from, const char* node,
                         const char* id) {
  return jab_send_built(c, build_disco_items(to, from, node, id), 0);
}

int jab_send_disco_info(jconn* c, const char* to, const char* from, const char* id) {
  return jab_send_built(c, build_disco_info(to, from, id), 0);
}

int jab_send_disco_item_update(jconn* c, const char* to, const char* from, const char* node,
                               const char* id, const char* action, const char* contact,
                               const char* name) {
  return jab_send_built(c, build_disco_item_update(to, from, node, id, action, contact, name), 0);
}

int jab_send_remoteip_get(jconn* c, const char* to, const char* id) {
  return jab_send_built(c, build_remoteip_get(to, id), 0);
}

int jab_send_remoteip_result(jconn* c, const char* to, const char* id) {
  in_addr own;
  char text[INET_ADDRSTRLEN];
  const char* host = nullptr;
  if (resolve_ipv4("", &own) && inet_ntop(AF_INET, &own, text, sizeof text))
    host = text;
  return jab_send_built(c, build_remoteip_result(to, jab_answer_id(c, id), host), 0);
}

int jab_send_ilocation_get(jconn* c, const char* to, const char* id) {
  return jab_send_built(c, build_ilocation_get(to, id), 0);
}

int jab_send_geoloc_subscribe(jconn* c, const char* to, const char* contact, const char* id) {
  return jab_send_built(c, build_geoloc_subscribe(to, contact, id), 0);
}

int jab_send_geoloc_publish(jconn* c, const char* to, const char* alt, const char* lon,
                            const char* lat, const char* timestamp) {
  const char* user = c->user ? c->user->user : nullptr;
  return jab_send_built(c, build_geoloc_publish(to, user, alt, lon, lat, timestamp, jab_next_id(c)),
                        0);
}

int jab_send_geoloc_result(jconn* c, const char* to, const char* id, const char* alt,
                           const char* lon, const char* lat, unsigned lifetime,
                           const char* timestamp) {
  return jab_send_built(
      c, build_geoloc_result(to, jab_answer_id(c, id), alt, lon, lat, lifetime, timestamp), 0);
}

int jab_send_pubsub_create(jconn* c, const char* to, const char* from, const char* node,
                           const char* id) {
  return jab_send_built(c, build_pubsub_create(to, from, node, id), 0);
}

int jab_send_pubsub_create_instant(jconn* c, const char* to, const char* from, const char* id) {
  return jab_send_built(c, build_pubsub_create_instant(to, from, id), 0);
}

int jab_send_pubsub_delete(jconn* c, const char* to, const char* from, const char* node,
                           const char* id) {
  return jab_send_built(c, build_pubsub_delete(to, from, node, id), 0);
}

int jab_send_pubsub_items_get(jconn* c, const char* to, const char* from, const char* node,
                              const char* id) {
  return jab_send_built(c, build_pubsub_items_get(to, from, node, id), 0);
}

int jab_send_pubsub_authorization(jconn* c, const char* to, const char* from, const char* node,
                                  const char* contact, const char* form_type) {
  return jab_send_built(c, build_pubsub_authorization(to, from, node, contact, form_type), 0);
}

int jab_send_pubsub_get_pending(jconn* c, const char* to, const char* from) {
  return jab_send_built(c, build_pubsub_get_pending(to, from), 0);
}

int jab_send_route_query(jconn* c, const char* to, const char* from, const char* source,
                         const char* destination, const char* id) {
  return jab_send_built(c, build_route_query(to, from, source, destination, id), 0);
}

int jab_send_route_query_address(jconn* c, const char* to, const char* from,
                                 const route_place* source, const route_place* destination,
                                 const char* id) {
  return jab_send_built(c, build_route_query_address(to, from, source, destination, id), 0);
}

int jab_send_command(jconn* c, const char* to, const char* action, const char* node,
                     const char* id) {
  return jab_send_built(c, build_command(to, action, node, id), 0);
}

int jab_send_dial(jconn* c, const char* to, const char* id, const char* session_id,
                  const char* const* contacts) {
  return jab_send_built(c, build_dial(to, id, session_id, contacts), 0);
}

int jab_send_muc_join(jconn* c, const char* room_nick, const char* from, const char* password) {
  return jab_send_built(c, build_muc_join(room_nick, from, password), 0);
}

int jab_send_muc_leave(jconn* c, const char* room_nick, const char* from) {
  return jab_send_built(c, build_muc_leave(room_nick, from), 0);
}

int jab_send_muc_invite(jconn* c, const char* room, const char* invitee, const char* reason) {
  return jab_send_built(c, build_muc_invite(room, invitee, reason), 0);
}

int jab_send_compress(jconn* c) {
  return jab_send_built(c, build_compress(), 0);
}

int jab_send_starttls(jconn* c) {
  return jab_send_built(c, build_starttls(), 0);
}

int jab_send_sasl_plain(jconn* c, const char* encoded) {
  return jab_send_built(c, build_sasl_plain(encoded), 0);
}

int jab_send_bind(jconn* c, const char* id, const char* resource) {
  return jab_send_built(c, build_bind(id, resource), 0);
}

int jab_send_session(jconn* c, const char* id) {
  return jab_send_built(c, build_session(id), 0);
}
