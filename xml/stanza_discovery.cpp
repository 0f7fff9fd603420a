// Agents, service discovery, ad-hoc commands, remote address and route requests.
#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xml/stanza_parts.h"

namespace {

// An iq of the given type and payload addressed [to, from, id] in that order.
xml_node* addressed_iq(int type, const char* ns, const char* child, const char* to,
                       const char* from, const char* id) {
  xml_node* iq = build_iq(type, ns, child);
  xml_node_put_attrib(iq, "to", to);
  xml_node_put_attrib(iq, "from", from);
  xml_node_put_attrib(iq, "id", id);
  return iq;
}

// An iq of the given type and payload addressed [id, to] in that order.
xml_node* id_first_iq(int type, const char* ns, const char* child, const char* to, const char* id) {
  xml_node* iq = build_iq(type, ns, child);
  xml_node_put_attrib(iq, "id", id);
  xml_node_put_attrib(iq, "to", to);
  return iq;
}

void put_place(xml_node* query, const char* name, const route_place* place) {
  xml_node* end = xml_node_insert_tag(query, name);
  if (!place)
    return;
  if (!is_empty(place->contact)) {
    xml_node_put_attrib(end, "jid", place->contact);
    return;
  }
  xml_node_put_attrib(end, "street", place->street);
  xml_node_put_attrib(end, "city", place->city);
  xml_node_put_attrib(end, "state", place->state);
  xml_node_put_attrib(end, "zip", place->zip);
  xml_node_put_attrib(end, "country", place->country);
}

}  // namespace

xml_node* build_agents_get(const char* id) {
  xml_node* iq = build_iq(SUBTYPE_GET, NS_URI_AGENTS, "query");
  xml_node_put_attrib(iq, "id", id);
  return iq;
}

xml_node* build_disco_items_server(const char* id, const char* server) {
  return id_first_iq(SUBTYPE_GET, NS_URI_DISCO_ITEMS, "query", server, id);
}

xml_node* build_disco_items(const char* to, const char* from, const char* node, const char* id) {
  xml_node* iq = addressed_iq(SUBTYPE_GET, NS_URI_DISCO_ITEMS, "query", to, from, id);
  xml_node_put_attrib(iq_payload(iq), "node", node);
  return iq;
}

xml_node* build_disco_info(const char* to, const char* from, const char* id) {
  return addressed_iq(SUBTYPE_GET, NS_URI_DISCO_INFO, "query", to, from, id);
}

xml_node* build_disco_item_update(const char* to, const char* from, const char* node,
                                  const char* id, const char* action, const char* contact,
                                  const char* name) {
  xml_node* iq = addressed_iq(SUBTYPE_SET, NS_URI_DISCO_ITEMS, "item", to, from, id);
  xml_node* item = iq_payload(iq);
  xml_node_put_attrib(item, "node", node);
  xml_node_put_attrib(item, "jid", contact);
  xml_node_put_attrib(item, "name", name);
  xml_node_put_attrib(item, "action", action);
  return iq;
}

xml_node* build_command(const char* to, const char* action, const char* node, const char* id) {
  xml_node* iq = addressed_iq(SUBTYPE_SET, NS_URI_COMMANDS, "command", to, nullptr, id);
  xml_node_put_attrib(iq_payload(iq), "action", action);
  xml_node_put_attrib(iq_payload(iq), "node", node);
  return iq;
}

xml_node* build_dial(const char* to, const char* id, const char* session_id,
                     const char* const* contacts) {
  xml_node* iq = build_command(to, "complete", "dial", id);
  xml_node_put_attrib(iq_payload(iq), "sessionid", session_id);
  xml_node* x = put_ns_child(iq_payload(iq), "x", NS_URI_DATA);
  xml_node_put_attrib(x, "type", "submit");
  xml_node* form_type = xml_node_insert_tag(x, "field");
  xml_node_put_attrib(form_type, "var", "FORM_TYPE");
  xml_node_put_attrib(form_type, "type", "hidden");
  put_text_child(form_type, "value", NS_URI_COLLAB_DIAL);
  xml_node* jids = xml_node_insert_tag(x, "field");
  xml_node_put_attrib(jids, "var", "jids");
  xml_node_put_attrib(jids, "type", "jid-multi");
  for (const char* const* contact = contacts; contact && *contact; ++contact)
    put_text_child(jids, "value", *contact);
  return iq;
}

xml_node* build_remoteip_get(const char* to, const char* id) {
  return id_first_iq(SUBTYPE_GET, NS_URI_REMOTEIP, "query", to, id);
}

xml_node* build_remoteip_result(const char* to, const char* id, const char* host) {
  xml_node* iq = id_first_iq(SUBTYPE_RESULT, NS_URI_REMOTEIP, "query", to, id);
  put_text_child_if_given(iq, "host", host);
  return iq;
}

xml_node* build_route_query(const char* to, const char* from, const char* source,
                            const char* destination, const char* id) {
  xml_node* iq = addressed_iq(SUBTYPE_GET, NS_URI_ROUTING, "query", to, from, id);
  xml_node_put_attrib(xml_node_insert_tag(iq_payload(iq), "src"), "jid", source);
  xml_node_put_attrib(xml_node_insert_tag(iq_payload(iq), "dst"), "jid", destination);
  return iq;
}

xml_node* build_route_query_address(const char* to, const char* from, const route_place* source,
                                    const route_place* destination, const char* id) {
  xml_node* iq = addressed_iq(SUBTYPE_GET, NS_URI_ROUTING, "query", to, from, id);
  put_place(iq_payload(iq), "src", source);
  put_place(iq_payload(iq), "dst", destination);
  return iq;
}
