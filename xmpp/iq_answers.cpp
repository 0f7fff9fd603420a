#include "xmpp/iq_answers.h"

#include "xml/namespaces.h"
#include "xmpp/stanza_send.h"

namespace {

bool can_answer(MJabberSession* session, packet* p) {
  return session && session->conn && iq_is_request(p);
}

int send_answer(MJabberSession* session, xml_node* answer) {
  return jab_send_built(session->conn, answer, 0) < 0 ? -1 : 0;
}

const char* answer_id(MJabberSession* session, packet* p) {
  return jab_answer_id(session->conn, packet_id(p));
}

// What the client really answers: discovery, ping, the remote address (to contacts of the
// roster) and, with location support on, the location request (to contacts of the roster).
xml_node* disco_info(packet* p, const char* id, bool location) {
  const disco_identity identity{CLIENT_IDENTITY_CATEGORY, CLIENT_IDENTITY_TYPE,
                                CLIENT_IDENTITY_NAME};
  const char* features[] = {NS_URI_DISCO_INFO, NS_URI_PING, NS_URI_REMOTEIP,
                            location ? NS_URI_GEOLOC : nullptr, nullptr};
  packet* query = packet_query(p);
  const char* node = query != p ? xml_node_get_attrib(query->x, "node") : nullptr;
  return build_disco_info_result(packet_from(p), id, node, &identity, features);
}

}  // namespace

bool iq_is_request(packet* p) {
  if (!p || p->type != PACKET_IQ)
    return false;
  int subtype = packet_subtype(p);
  return subtype == SUBTYPE_GET || subtype == SUBTYPE_SET;
}

int answer_ping(MJabberSession* session, packet* p) {
  if (!can_answer(session, p))
    return -1;
  return send_answer(session, build_iq_result(packet_from(p), answer_id(session, p)));
}

int answer_disco_info(MJabberSession* session, packet* p) {
  if (!can_answer(session, p))
    return -1;
  bool location = session->host->Settings().locationSupport;
  return send_answer(session, disco_info(p, answer_id(session, p), location));
}

int answer_service_unavailable(MJabberSession* session, packet* p) {
  if (!can_answer(session, p))
    return -1;
  return send_answer(session, build_iq_error(packet_from(p), answer_id(session, p), "cancel",
                                             "service-unavailable"));
}
