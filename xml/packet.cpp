// Packet construction and classification.
#include "xml/packet.h"

#include <cstring>

#include "xml/namespaces.h"

namespace {

uint8_t type_of(const char* name) {
  if (!name || !*name)
    return PACKET_UNKNOWN;
  // The first-letter tests are deliberately loose: "m..." is a message, "i..." an iq.
  if (name[0] == 'm')
    return PACKET_MESSAGE;
  if (std::strcmp(name, "presence") == 0)
    return PACKET_PRESENCE;
  if (name[0] == 'i')
    return PACKET_IQ;
  if (std::strcmp(name, "stream:features") == 0)
    return PACKET_FEATURES;
  if (std::strcmp(name, "compressed") == 0)
    return PACKET_COMPRESSED;
  if (std::strcmp(name, "proceed") == 0)
    return PACKET_PROCEED;
  if (std::strcmp(name, "success") == 0)
    return PACKET_SUCCESS;
  if (std::strcmp(name, "failure") == 0)
    return PACKET_FAILURE;
  return PACKET_UNKNOWN;
}

bool is(const char* a, const char* b) {
  return std::strcmp(a, b) == 0;
}

int message_subtype(xml_node* x, const char* t) {
  if (is(t, "location"))
    return SUBTYPE_LOCATION;
  if (is(t, "locationreq"))
    return SUBTYPE_LOCATION_REQUEST;
  if (is(t, "chat") || is(t, "error"))
    return SUBTYPE_CHAT;
  if (is(t, "groupchat"))
    return SUBTYPE_GROUPCHAT;
  if (is(t, "headline"))
    return SUBTYPE_HEADLINE;
  if (xml_node_get_tag(x, "url-data"))
    return SUBTYPE_URL_DATA;
  if (xml_node* alert = xml_node_get_tag(x, "alert")) {
    // An alert in another namespace ends the tests: it is an ordinary message.
    return safe_strcmp(xml_node_get_attrib(alert, "xmlns"), NS_URI_CAP_ALERT) == 0
               ? SUBTYPE_CAP_ALERT
               : SUBTYPE_CHAT;
  }
  if (xml_node* geoloc = xml_node_find_near(x, "geoloc")) {
    return safe_strcmp(xml_node_get_attrib(geoloc, "xmlns"), NS_URI_GEOLOC) == 0 ? SUBTYPE_GEOLOC
                                                                                 : SUBTYPE_CHAT;
  }
  xml_node* muc = xml_node_find_near_with_attrib(x, "x", "xmlns", NS_URI_MUC_USER);
  if (muc && xml_node_find_near(muc, "invite"))
    return SUBTYPE_MUC_INVITE;
  return SUBTYPE_CHAT;
}

int presence_subtype(xml_node* x, const char* t) {
  if (xml_node_get_tag(x, "x?xmlns=" NS_URI_MUC_USER))
    return SUBTYPE_MUC_PRESENCE;
  if (!*t)
    return SUBTYPE_AVAILABLE;
  if (is(t, "unavailable"))
    return SUBTYPE_UNAVAILABLE;
  if (is(t, "probe"))
    return SUBTYPE_PROBE;
  if (t[0] == 's' || t[0] == 'u')
    return SUBTYPE_SUBSCRIBE;
  if (is(t, "available")) {
    xml_node_hide_attrib(x, "type");
    return SUBTYPE_AVAILABLE;
  }
  return SUBTYPE_NONE;
}

int iq_subtype(const char* t) {
  if (is(t, "get"))
    return SUBTYPE_GET;
  if (is(t, "set"))
    return SUBTYPE_SET;
  if (is(t, "result"))
    return SUBTYPE_RESULT;
  if (is(t, "error"))
    return SUBTYPE_ERROR;
  return SUBTYPE_NONE;
}

int compute_subtype(packet* p) {
  const char* t = xml_node_get_attrib(p->x, "type");
  if (!t)
    t = "";
  switch (p->type) {
    case PACKET_FEATURES:
      return SUBTYPE_FEATURES;
    case PACKET_COMPRESSED:
      return SUBTYPE_COMPRESSED;
    case PACKET_PROCEED:
      return SUBTYPE_PROCEED;
    case PACKET_SUCCESS:
      return SUBTYPE_SUCCESS;
    case PACKET_FAILURE:
      return SUBTYPE_FAILURE;
    case PACKET_MESSAGE:
      return message_subtype(p->x, t);
    case PACKET_PRESENCE:
      return presence_subtype(p->x, t);
    case PACKET_IQ:
      return iq_subtype(t);
    default:
      return is(t, "result") ? SUBTYPE_RESULT : SUBTYPE_NONE;
  }
}

jid* address(packet* p, const char* name) {
  const char* text = xml_node_get_attrib(p->x, name);
  return text ? jid_new(p->pool, text, 0) : nullptr;
}

}  // namespace

packet* packet_new(xml_node* node) {
  if (!node)
    return nullptr;
  auto* p = static_cast<packet*>(pmalloc_fill(node->pool, sizeof(packet), 0));
  p->x = node;
  p->pool = node->pool;
  p->type = type_of(node->name);
  if (p->type == PACKET_IQ) {
    p->iq = xml_node_get_tag(node, "?xmlns");
    p->iq_ns = const_cast<char*>(xml_node_get_attrib(p->iq, "xmlns"));
  }
  packet_subtype(p);
  p->to = address(p, "to");
  p->from = address(p, "from");
  return p;
}

int packet_subtype(packet* p) {
  if (!p)
    return 0;
  if (p->subtype == 0)
    p->subtype = compute_subtype(p);
  return p->subtype;
}

packet* packet_query(packet* p) {
  if (!p)
    return nullptr;
  xml_node* payload = xml_node_get_tag(p->x, "query");
  if (!payload)
    payload = xml_node_get_tag(p->x, "pubsub");
  return payload ? packet_new(payload) : p;
}

void packet_free(packet* p) {
  if (p)
    pool_destroy(p->pool);
}

int packet_ns_code(packet* p) {
  if (!p)
    return NS_NONE;
  const char* ns = xml_node_get_attrib(p->x, "xmlns");
  if (!ns)
    return NS_NONE;
  static const struct {
    const char* uri;
    int code;
  } kCodes[] = {
      {NS_URI_AGENTS, NS_AGENTS},
      {NS_URI_ROSTER, NS_ROSTER},
      {NS_URI_REMOTEIP, NS_REMOTEIP},
      {NS_URI_OOB, NS_OOB},
      {NS_URI_AUTH, NS_AUTH},
      {NS_URI_PUBSUB, NS_PUBSUB},
      {NS_URI_PUBSUB_EVENT, NS_PUBSUB},
      {NS_URI_DISCO, NS_DISCO},
      {NS_URI_DISCO_ITEMS, NS_DISCO_ITEMS},
      {NS_URI_DISCO_INFO, NS_DISCO_INFO},
      {NS_URI_GEOLOC, NS_GEOLOC},
      {NS_URI_ROUTING, NS_ROUTING},
      {NS_URI_MUC_USER, NS_MUC_USER},
  };
  for (const auto& entry : kCodes) {
    if (std::strcmp(ns, entry.uri) == 0)
      return entry.code;
  }
  return NS_NONE;
}
