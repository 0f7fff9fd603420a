// Answers to requests other entities send the client: an empty result (a ping), an error
// (a request nobody handles) and the client's service discovery information.
#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xml/stanza_parts.h"

namespace {

xml_node* answer_iq(const char* type, const char* to, const char* id) {
  xml_node* iq = xml_node_new_tag("iq");
  xml_node_put_attrib(iq, "type", type);
  if (!is_empty(to))
    xml_node_put_attrib(iq, "to", to);
  xml_node_put_attrib(iq, "id", id);
  return iq;
}

}  // namespace

xml_node* build_iq_result(const char* to, const char* id) {
  return answer_iq("result", to, id);
}

xml_node* build_iq_error(const char* to, const char* id, const char* error_type,
                         const char* condition) {
  xml_node* iq = answer_iq("error", to, id);
  xml_node* error = xml_node_insert_tag(iq, "error");
  xml_node_put_attrib(error, "type", error_type);
  put_ns_child(error, condition, NS_URI_STANZAS);
  return iq;
}

xml_node* build_disco_info_result(const char* to, const char* id, const char* node,
                                  const disco_identity* identity, const char* const* features) {
  xml_node* iq = answer_iq("result", to, id);
  xml_node* query = put_ns_child(iq, "query", NS_URI_DISCO_INFO);
  if (!is_empty(node))
    xml_node_put_attrib(query, "node", node);
  if (identity) {
    xml_node* entry = xml_node_insert_tag(query, "identity");
    xml_node_put_attrib(entry, "category", identity->category);
    xml_node_put_attrib(entry, "type", identity->type);
    xml_node_put_attrib(entry, "name", identity->name);
  }
  for (const char* const* feature = features; feature && *feature; ++feature)
    xml_node_put_attrib(xml_node_insert_tag(query, "feature"), "var", *feature);
  return iq;
}
