// Location and publish-subscribe stanzas.
#include <cstdio>

#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xml/stanza_parts.h"

namespace {

// <iq type [to, from, id]><pubsub xmlns><action node?/></pubsub></iq>
xml_node* pubsub_iq(int type, const char* to, const char* from, const char* id, const char* action,
                    const char* node) {
  xml_node* iq = build_iq(type, NS_URI_PUBSUB, "pubsub");
  xml_node_put_attrib(iq, "to", to);
  xml_node_put_attrib(iq, "from", from);
  xml_node_put_attrib(iq, "id", id);
  xml_node* element = xml_node_insert_tag(iq_payload(iq), action);
  xml_node_put_attrib(element, "node", node);
  return iq;
}

void put_position(xml_node* geoloc, const char* alt, const char* lon, const char* lat) {
  put_text_child_if_given(geoloc, "alt", alt);
  put_text_child_if_given(geoloc, "lon", lon);
  put_text_child_if_given(geoloc, "lat", lat);
}

// A message [type?, to, from]: built for the recipient, then `to` put again and `from` added.
xml_node* message_from(const char* type, const char* to, const char* from) {
  xml_node* message = build_message(type, to, nullptr, nullptr, nullptr);
  xml_node_put_attrib(message, "to", to);
  xml_node_put_attrib(message, "from", from);
  return message;
}

void put_field(xml_node* x, const char* var, const char* value) {
  xml_node* field = xml_node_insert_tag(x, "field");
  xml_node_put_attrib(field, "var", var);
  put_text_child(field, "value", value);
}

}  // namespace

xml_node* build_ilocation_get(const char* to, const char* id) {
  xml_node* iq = build_iq(SUBTYPE_GET, NS_URI_ILOCATION, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node_put_attrib(iq, "to", to);
  return iq;
}

xml_node* build_geoloc_subscribe(const char* to, const char* contact, const char* id) {
  xml_node* iq = pubsub_iq(SUBTYPE_SET, to, nullptr, id, "subscribe", nullptr);
  xml_node* subscribe = iq_payload(iq)->first_child;
  xml_node_put_attrib(subscribe, "node", geoloc_node_name(iq, contact));
  xml_node_put_attrib(subscribe, "jid", contact);
  return iq;
}

xml_node* build_geoloc_publish(const char* to, const char* user, const char* alt, const char* lon,
                               const char* lat, const char* timestamp, const char* id) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_PUBSUB, "pubsub");
  xml_node_put_attrib(iq, "id", id);
  xml_node_put_attrib(iq, "to", to);
  xml_node* publish = xml_node_insert_tag(iq_payload(iq), "publish");
  xml_node_put_attrib(publish, "node", geoloc_node_name(iq, user));
  xml_node* item = xml_node_insert_tag(publish, "item");
  xml_node_put_attrib(item, "id", id);
  xml_node* geoloc = put_ns_child(item, "geoloc", NS_URI_GEOLOC);
  put_position(geoloc, alt, lon, lat);
  put_text_child_if_given(geoloc, "timestamp", timestamp);
  return iq;
}

xml_node* build_geoloc_result(const char* to, const char* id, const char* alt, const char* lon,
                              const char* lat, unsigned lifetime, const char* timestamp) {
  xml_node* iq = build_iq(SUBTYPE_RESULT, NS_URI_GEOLOC, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node_put_attrib(iq, "to", to);
  xml_node* geoloc = xml_node_insert_tag(iq, "geoloc");
  put_position(geoloc, alt, lon, lat);
  put_text_child(geoloc, "error", "0");
  if (lifetime != 0) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", lifetime);
    put_text_child(geoloc, "lifetime", text);
  }
  put_text_child_if_given(geoloc, "timestamp", timestamp);
  return iq;
}

xml_node* build_pubsub_create(const char* to, const char* from, const char* node, const char* id) {
  return pubsub_iq(SUBTYPE_SET, to, from, id, "create", node);
}

xml_node* build_pubsub_create_instant(const char* to, const char* from, const char* id) {
  return pubsub_iq(SUBTYPE_SET, to, from, id, "create", nullptr);
}

xml_node* build_pubsub_delete(const char* to, const char* from, const char* node, const char* id) {
  return pubsub_iq(SUBTYPE_SET, to, from, id, "delete", node);
}

xml_node* build_pubsub_items_get(const char* to, const char* from, const char* node,
                                 const char* id) {
  return pubsub_iq(SUBTYPE_GET, to, from, id, "items", node);
}

xml_node* build_pubsub_authorization(const char* to, const char* from, const char* node,
                                     const char* contact, const char* form_type) {
  xml_node* message = message_from(nullptr, to, from);
  xml_node* x = put_ns_child(message, "x", NS_URI_DATA);
  xml_node_put_attrib(x, "type", form_type);
  put_field(x, "FORM_TYPE", NS_URI_PUBSUB);
  put_field(x, "node", node);
  put_field(x, "jid", contact);
  return message;
}

xml_node* build_pubsub_get_pending(const char* to, const char* from) {
  xml_node* message = message_from("chat", to, from);
  xml_node* x = put_ns_child(message, "x", NS_URI_PUBSUB_OWNER);
  xml_node_put_attrib(x, "action", "get-pending");
  return message;
}
