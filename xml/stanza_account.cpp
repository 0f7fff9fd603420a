// Roster, account and stream negotiation stanzas.
#include <string>

#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/sha1.h"
#include "xml/stanza_builders.h"
#include "xml/stanza_parts.h"

xml_node* build_roster_get(const char* id) {
  xml_node* iq = build_iq(SUBTYPE_GET, NS_URI_ROSTER, "query");
  xml_node_put_attrib(iq, "id", id);
  return iq;
}

xml_node* build_roster_set(const char* group, const char* contact, const char* name,
                           const char* id) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_ROSTER, "query");
  if (!is_empty(id))
    xml_node_put_attrib(iq, "id", id);
  xml_node* item = xml_node_insert_tag(iq_payload(iq), "item");
  xml_node_put_attrib(item, "jid", contact);
  xml_node_put_attrib(item, "name", name);
  put_text_child_if_given(item, "group", group);
  return iq;
}

xml_node* build_roster_remove(const char* group, const char* contact, const char* name,
                              const char* id) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_ROSTER, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node* item = xml_node_insert_tag(iq_payload(iq), "item");
  xml_node_put_attrib(item, "jid", contact);
  put_text_child_if_given(item, "group", group);
  if (!is_empty(name))
    xml_node_put_attrib(item, "name", name);
  xml_node_put_attrib(item, "subscription", "remove");
  return iq;
}

xml_node* build_auth_query(const char* id, const char* user) {
  xml_node* iq = build_iq(SUBTYPE_GET, NS_URI_AUTH, "query");
  xml_node_put_attrib(iq, "id", id);
  put_text_child(iq_payload(iq), "username", user);
  return iq;
}

xml_node* build_auth(const char* id, const char* user, const char* resource, const char* password,
                     const char* stream_id, int use_digest) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_AUTH, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node* query = iq_payload(iq);
  put_text_child_if_given(query, "username", user);
  put_text_child(query, "resource", resource ? resource : "");
  if (use_digest) {
    std::string input = std::string(stream_id ? stream_id : "") + (password ? password : "");
    char digest[SHA1_HEX_SIZE];
    sha1_hex(input.data(), input.size(), digest);
    put_text_child(query, "digest", digest);
  } else {
    put_text_child(query, "password", password);
  }
  return iq;
}

xml_node* build_register(const char* id, const char* user, const char* resource,
                         const char* password) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_REGISTER, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node* query = iq_payload(iq);
  put_text_child_if_given(query, "username", user);
  put_text_child(query, "resource", resource ? resource : "");
  put_text_child_if_not_empty(query, "password", password);
  return iq;
}

xml_node* build_register_query(const char* to, const char* id) {
  xml_node* iq = build_iq(SUBTYPE_GET, NS_URI_REGISTER, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node_put_attrib(iq, "to", to);
  return iq;
}

xml_node* build_register_to(const char* to, const char* user_name, const char* password,
                            const char* key, const char* id) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_REGISTER, "query");
  xml_node_put_attrib(iq, "id", id);
  xml_node_put_attrib(iq, "to", to);
  xml_node* query = iq_payload(iq);
  put_text_child_if_not_empty(query, "username", user_name);
  put_text_child_if_not_empty(query, "password", password);
  put_text_child_if_not_empty(query, "key", key);
  return iq;
}

xml_node* build_compress() {
  xml_node* compress = xml_node_new_tag("compress");
  xml_node_put_attrib(compress, "xmlns", NS_URI_COMPRESS);
  put_text_child(compress, "method", "zlib");
  return compress;
}

xml_node* build_starttls() {
  xml_node* starttls = xml_node_new_tag("starttls");
  xml_node_put_attrib(starttls, "xmlns", NS_URI_TLS);
  return starttls;
}

xml_node* build_sasl_plain(const char* encoded) {
  xml_node* auth = xml_node_new_tag("auth");
  xml_node_put_attrib(auth, "xmlns", NS_URI_SASL);
  xml_node_put_attrib(auth, "mechanism", "PLAIN");
  xml_node_insert_cdata(auth, encoded, -1);
  return auth;
}

xml_node* build_bind(const char* id, const char* resource) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_BIND, "bind");
  xml_node_put_attrib(iq, "id", id);
  put_text_child(iq_payload(iq), "resource", resource);
  return iq;
}

xml_node* build_session(const char* id) {
  xml_node* iq = build_iq(SUBTYPE_SET, NS_URI_SESSION, "session");
  xml_node_put_attrib(iq, "id", id);
  return iq;
}
