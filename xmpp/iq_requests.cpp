// The tracked request operations: a fresh id, a PendingIq with the request's tag, then the
// stanza.
#include "xml/iq_id.h"
#include "xml/namespaces.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/stanza_send.h"

namespace {

// Makes the id, records the request and returns the id for the stanza.
mstring track(MJabberSession* session, const char* target, const char* tag,
              const char* bound_to = nullptr) {
  mstring own = session_own_address(session);
  mstring id = iq_new_id(bound_to ? bound_to : own.c_str());
  pending_add(session, target, id.c_str(), tag);
  return id;
}

mstring track_server(MJabberSession* session, const char* tag) {
  mstring server = session_server(session);
  return track(session, server.c_str(), tag);
}

jconn* conn_of(MJabberSession* session) {
  return session ? session->conn : nullptr;
}

}  // namespace

mstring iq_new_id(const char* text) {
  return mstring(iq_id_new(text));
}

int request_roster(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_roster_get(session->conn, track_server(session, NS_URI_ROSTER).c_str());
}

int request_bind(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_bind(session->conn, track_server(session, NS_URI_BIND).c_str(), kResource);
}

int request_session(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_session(session->conn, track_server(session, NS_URI_SESSION).c_str());
}

int request_auth_query(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_auth_query(session->conn, track_server(session, NS_URI_AUTH).c_str());
}

int request_auth(MJabberSession* session, int use_digest) {
  if (!conn_of(session))
    return -1;
  return jab_send_auth(session->conn, use_digest, track_server(session, NS_URI_AUTH).c_str());
}

int request_register(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_register(session->conn, track_server(session, NS_URI_REGISTER).c_str());
}

int request_register_form(MJabberSession* session, const char* gateway) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, gateway, NS_URI_REGISTER);
  return jab_send_register_query(session->conn, gateway, id.c_str());
}

int request_register_to(MJabberSession* session, const char* gateway, const char* user_name,
                        const char* password, const char* key) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, gateway, TAG_TRANSPORT_REGISTER);
  return jab_send_register_to(session->conn, gateway, user_name, password, key, id.c_str());
}

int request_agents(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_agents_get(session->conn, track_server(session, TAG_AGENTS).c_str());
}

int request_disco_items(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  return jab_send_disco_items_server(session->conn, track_server(session, TAG_DISCO_ITEMS).c_str());
}

int request_disco_info(MJabberSession* session, const char* item) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, item, TAG_DISCO_INFO, item);
  mstring own = session_own_address(session);
  return jab_send_disco_info(session->conn, item, own.c_str(), id.c_str());
}

int request_dial(MJabberSession* session) {
  if (!conn_of(session))
    return -1;
  if (session->collab_service.empty()) {
    session->host->ShowMessageBox("This server does not support this operation.", nullptr);
    return -1;
  }
  mstring service = session->collab_service;
  mstring id = track(session, service.c_str(), TAG_DIAL);
  return jab_send_command(session->conn, service.c_str(), "execute", "dial", id.c_str());
}

int send_dial(MJabberSession* session, const char* session_id, const char* const* contacts) {
  if (!conn_of(session) || session->collab_service.empty())
    return -1;
  mstring id = iq_new_id(session_own_address(session).c_str());
  return jab_send_dial(session->conn, session->collab_service.c_str(), id.c_str(), session_id,
                       contacts);
}

int request_remoteip(MJabberSession* session, const char* contact) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, contact, NS_URI_REMOTEIP);
  return jab_send_remoteip_get(session->conn, contact, id.c_str());
}

int request_ilocation(MJabberSession* session, const char* contact) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, contact, NS_URI_GEOLOC);
  return jab_send_ilocation_get(session->conn, contact, id.c_str());
}

int request_contact_location(MJabberSession* session, const char* contact) {
  if (!conn_of(session))
    return -1;
  mstring service = session->host->Settings().lbsJid;
  mstring id = track(session, service.c_str(), TAG_PUBSUB_ITEMS);
  mstring node = mstring("geoloc:") + contact;
  mstring own = session_own_address(session);
  return jab_send_pubsub_items_get(session->conn, service.c_str(), own.c_str(), node.c_str(),
                                   id.c_str());
}

int request_geoloc_subscribe(MJabberSession* session, const char* contact) {
  if (!conn_of(session))
    return -1;
  mstring service = session->host->Settings().lbsJid;
  mstring id = track(session, service.c_str(), NS_URI_PUBSUB);
  return jab_send_geoloc_subscribe(session->conn, service.c_str(), contact, id.c_str());
}

int request_route(MJabberSession* session, const char* service, const char* source,
                  const char* destination) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, service, NS_URI_ROUTING);
  mstring own = session_own_address(session);
  return jab_send_route_query(session->conn, service, own.c_str(), source, destination, id.c_str());
}

int request_route_address(MJabberSession* session, const char* service, const route_place* source,
                          const route_place* destination) {
  if (!conn_of(session))
    return -1;
  mstring id = track(session, service, NS_URI_ROUTING);
  mstring own = session_own_address(session);
  return jab_send_route_query_address(session->conn, service, own.c_str(), source, destination,
                                      id.c_str());
}
