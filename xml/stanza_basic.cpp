// The basic builders the sending operations start from, and the shared pieces.
#include <cstdio>
#include <cstring>

#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xml/stanza_parts.h"

namespace {

const char* presence_type(int code) {
  switch (code) {
    case SUBTYPE_SUBSCRIBE:
      return "subscribe";
    case SUBTYPE_SUBSCRIBED:
      return "subscribed";
    case SUBTYPE_UNSUBSCRIBE:
      return "unsubscribe";
    case SUBTYPE_UNSUBSCRIBED:
      return "unsubscribed";
    case SUBTYPE_UNAVAILABLE:
      return "unavailable";
    case SUBTYPE_PROBE:
      return "probe";
    default:
      return nullptr;
  }
}

const char* iq_type(int code) {
  switch (code) {
    case SUBTYPE_ERROR:
      return "error";
    case SUBTYPE_GET:
      return "get";
    case SUBTYPE_SET:
      return "set";
    case SUBTYPE_RESULT:
      return "result";
    default:
      return nullptr;
  }
}

}  // namespace

bool is_empty(const char* text) {
  return !text || !*text;
}

xml_node* put_text_child(xml_node* parent, const char* name, const char* text) {
  xml_node* child = xml_node_insert_tag(parent, name);
  xml_node_insert_cdata(child, text, -1);
  return child;
}

void put_text_child_if_given(xml_node* parent, const char* name, const char* text) {
  if (text)
    put_text_child(parent, name, text);
}

void put_text_child_if_not_empty(xml_node* parent, const char* name, const char* text) {
  if (!is_empty(text))
    put_text_child(parent, name, text);
}

xml_node* put_ns_child(xml_node* parent, const char* name, const char* ns) {
  xml_node* child = xml_node_insert_tag(parent, name);
  xml_node_put_attrib(child, "xmlns", ns);
  return child;
}

char* geoloc_node_name(xml_node* node, const char* address) {
  size_t size = std::strlen("geoloc:") + (address ? std::strlen(address) : 0) + 1;
  auto* name = static_cast<char*>(pmalloc(node->pool, size));
  std::snprintf(name, size, "geoloc:%s", address ? address : "");
  return name;
}

xml_node* build_presence(int type_code, const char* to, const char* status, const char* show) {
  xml_node* presence = xml_node_new_tag("presence");
  xml_node_put_attrib(presence, "type", presence_type(type_code));
  xml_node_put_attrib(presence, "to", to);
  // An empty <status/> or <show/> says nothing and some servers take it for a wrong value.
  put_text_child_if_not_empty(presence, "status", status);
  put_text_child_if_not_empty(presence, "show", show);
  return presence;
}

void add_priority(xml_node* presence, const char* text) {
  if (presence)
    put_text_child(presence, "priority", text);
}

xml_node* build_iq(int type_code, const char* ns, const char* child_name) {
  xml_node* iq = xml_node_new_tag("iq");
  xml_node_put_attrib(iq, "type", iq_type(type_code));
  if (child_name)
    put_ns_child(iq, child_name, ns);
  return iq;
}

xml_node* build_message(const char* type, const char* to, const char* subject, const char* body,
                        const char* thread) {
  xml_node* message = xml_node_new_tag("message");
  if (!is_empty(type))
    xml_node_put_attrib(message, "type", type);
  if (!is_empty(to))
    xml_node_put_attrib(message, "to", to);
  put_text_child_if_not_empty(message, "subject", subject);
  put_text_child_if_not_empty(message, "thread", thread);
  put_text_child_if_not_empty(message, "body", body);
  return message;
}

xml_node* build_stream_header(const char* ns, const char* server) {
  if (!ns || !server)
    return nullptr;
  xml_node* header = xml_node_new_tag("stream:stream");
  xml_node_put_attrib(header, "xmlns:stream", NS_URI_STREAMS);
  xml_node_put_attrib(header, "version", "1.0");
  xml_node_put_attrib(header, "xmlns", ns);
  xml_node_put_attrib(header, "to", server);
  return header;
}

char* stream_header_text(xml_node* header) {
  char* text = xml_node_to_string(header);
  if (char* end = text ? std::strstr(text, "/>") : nullptr)
    std::memmove(end, end + 1, std::strlen(end + 1) + 1);
  return text;
}
