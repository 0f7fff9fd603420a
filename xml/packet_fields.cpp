// Field extractors: texts from the stanza's pool, and bounded copies into caller buffers.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "xml/field_copy.h"
#include "xml/namespaces.h"
#include "xml/packet.h"

namespace {

const char* or_empty(const char* text) {
  return text ? text : "";
}

const char* child_text(packet* p, const char* name) {
  return or_empty(p ? xml_node_get_tag_data(p->x, name) : nullptr);
}

// Decimal conversion like atoi, saturating instead of overflowing.
int32_t parse_code(const char* text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT32_MAX)
    return INT32_MAX;
  if (value < INT32_MIN)
    return INT32_MIN;
  return static_cast<int32_t>(value);
}

void copy_child(field_buf out, xml_node* node, const char* name) {
  field_copy(out, xml_node_get_tag_data(node, name));
}

void copy_location(xml_node* geoloc, field_buf alt, field_buf lon, field_buf lat,
                   field_buf timestamp) {
  copy_child(alt, geoloc, "alt");
  copy_child(lon, geoloc, "lon");
  copy_child(lat, geoloc, "lat");
  copy_child(timestamp, geoloc, "timestamp");
}

}  // namespace

const char* packet_from(packet* p) {
  return or_empty(p ? xml_node_get_attrib(p->x, "from") : nullptr);
}
const char* packet_id(packet* p) {
  return or_empty(p ? xml_node_get_attrib(p->x, "id") : nullptr);
}
const char* packet_show(packet* p) {
  return child_text(p, "show");
}
const char* packet_status(packet* p) {
  return child_text(p, "status");
}
const char* packet_body(packet* p) {
  return child_text(p, "body");
}
const char* packet_host(packet* p) {
  return child_text(p, "host");
}
const char* packet_thread(packet* p) {
  return child_text(p, "thread");
}
const char* packet_subject(packet* p) {
  return child_text(p, "subject");
}

const char* packet_key(packet* p) {
  if (!p)
    return "";
  xml_node* key = xml_node_get_tag(xml_node_first_content(p->x), "key");
  return or_empty(xml_node_get_data(xml_node_first_content(key)));
}

int packet_features(packet* p) {
  if (!p)
    return 0;
  int flags = 0;
  if (xml_node_find_near(p->x, "compression"))
    flags |= FEATURE_COMPRESSION;
  if (xml_node_find_near(p->x, "starttls"))
    flags |= FEATURE_STARTTLS;
  if (xml_node_find_near(p->x, "bind"))
    flags |= FEATURE_BIND;
  xml_node* mechanisms = xml_node_find_near(p->x, "mechanisms");
  for (xml_node* m = xml_node_get_tag(mechanisms, "mechanism"); m; m = m->next) {
    const char* name = xml_node_get_data(m);
    if (!name)
      break;
    if (std::strcmp(name, "PLAIN") == 0)
      flags |= FEATURE_SASL_PLAIN;
  }
  return flags;
}

int packet_auth_fields(packet* p) {
  if (!p)
    return 0;
  int flags = 0;
  for (xml_node* child = xml_node_first_child(p->x); child; child = child->next) {
    if (xml_node_get_tag(child, "digest"))
      flags |= AUTH_DIGEST;
    if (xml_node_get_tag(child, "password"))
      flags |= AUTH_PASSWORD;
  }
  return flags;
}

void packet_error(packet* p, int32_t* code, field_buf text) {
  if (code)
    *code = 0;
  field_clear(text);
  if (!p)
    return;
  xml_node* error = xml_node_find_near(p->x, "error");
  const char* code_text = xml_node_get_attrib(error, "code");
  if (!code_text)
    return;
  if (code)
    *code = parse_code(code_text);
  // The near lookup from the root walks only the first-child chain, which misses the text of
  // an error that follows the echoed payload (the usual shape); look inside the error first.
  xml_node* description = xml_node_get_tag(error, "text");
  if (!description)
    description = xml_node_find_near(p->x, "text");
  field_copy(text, xml_node_get_data(description));
}

int packet_muc_presence(packet* p, field_buf type, field_buf role, field_buf affiliation,
                        field_buf show) {
  field_copy(type, "available");
  field_clear(role);
  field_clear(affiliation);
  field_clear(show);
  if (!p)
    return 1;
  if (const char* t = xml_node_get_attrib(p->x, "type"))
    field_copy(type, t);
  copy_child(show, p->x, "show");
  xml_node* item = xml_node_get_tag(xml_node_get_tag(p->x, "x?xmlns=" NS_URI_MUC_USER), "item");
  if (item) {
    field_copy(affiliation, xml_node_get_attrib(item, "affiliation"));
    field_copy(role, xml_node_get_attrib(item, "role"));
  }
  return 1;
}

void packet_geoloc_event(packet* p, field_buf alt, field_buf lon, field_buf lat,
                         field_buf timestamp, field_buf sender) {
  for (field_buf b : {alt, lon, lat, timestamp, sender})
    field_clear(b);
  if (!p)
    return;
  xml_node* address = xml_node_get_tag(xml_node_find_near(p->x, "addresses"), "address");
  field_copy(sender, xml_node_get_attrib(address, "jid"));
  xml_node* items = xml_node_get_tag(xml_node_find_near(p->x, "event"), "items");
  xml_node* geoloc = xml_node_get_tag(xml_node_get_tag(items, "item"), "geoloc");
  if (geoloc)
    copy_location(geoloc, alt, lon, lat, timestamp);
}

void packet_geoloc_items(packet* p, field_buf alt, field_buf lon, field_buf lat,
                         field_buf timestamp, field_buf owner) {
  for (field_buf b : {alt, lon, lat, timestamp, owner})
    field_clear(b);
  if (!p)
    return;
  xml_node* items = xml_node_get_tag(xml_node_find_near(p->x, "pubsub"), "items");
  xml_node* item = xml_node_get_tag(items, "item");
  const char* id = xml_node_get_attrib(item, "id");
  const char* marker = id ? std::strstr(id, "geoloc:") : nullptr;
  if (!marker)
    return;
  field_copy(owner, marker + std::strlen("geoloc:"));
  if (xml_node* geoloc = xml_node_get_tag(item, "geoloc"))
    copy_location(geoloc, alt, lon, lat, timestamp);
}

char* packet_command_session(packet* p, field_buf out) {
  field_clear(out);
  if (!p)
    return nullptr;
  xml_node* command = xml_node_get_tag(xml_node_first_content(p->x), "command");
  const char* session = xml_node_get_attrib(command, "sessionid");
  if (!session || !out.text || out.size == 0)
    return nullptr;
  field_copy(out, session);
  return out.text;
}
