// List extractors: heap records the caller frees.
#include "xml/packet_lists.h"

#include <cstdlib>
#include <cstring>

#include "xml/field_copy.h"
#include "xml/xml_escape.h"

namespace {

char* dup(const char* text) {
  return text ? strdup(text) : nullptr;
}

template <typename T>
T* new_record() {
  auto* rec = static_cast<T*>(std::calloc(1, sizeof(T)));
  if (!rec)
    std::abort();  // the same policy as the pool: no half-built lists
  return rec;
}

// Appends to a list kept as head and tail.
template <typename T>
void link(T** head, T** tail, T* rec) {
  if (*tail)
    (*tail)->next = rec;
  else
    *head = rec;
  *tail = rec;
}

void copy_endpoint(xml_node* node, field_buf out[ROUTE_FIELDS]) {
  static const char* const kNames[ROUTE_FIELDS] = {"jid",   "street", "city",
                                                   "state", "zip",    "country"};
  for (int i = 0; i < ROUTE_FIELDS; ++i)
    field_copy(out[i], xml_node_get_attrib(node, kNames[i]));
}

}  // namespace

// Text children (whitespace between items) are skipped: they would make empty records.
agent_rec* packet_agents(packet* p) {
  agent_rec* head = nullptr;
  agent_rec* tail = nullptr;
  for (xml_node* child = p ? xml_node_first_child(p->x) : nullptr; child; child = child->next) {
    if (child->type != XML_NODE_TAG)
      continue;
    auto* rec = new_record<agent_rec>();
    rec->jid = dup(xml_node_get_attrib(child, "jid"));
    rec->name = dup(xml_node_get_tag_data(child, "name"));
    rec->description = dup(xml_node_get_tag_data(child, "description"));
    rec->service = dup(xml_node_get_tag_data(child, "service"));
    link(&head, &tail, rec);
  }
  return head;
}

roster_item_rec* packet_roster_items(packet* p) {
  roster_item_rec* head = nullptr;
  roster_item_rec* tail = nullptr;
  for (xml_node* child = p ? xml_node_first_child(p->x) : nullptr; child; child = child->next) {
    if (child->type != XML_NODE_TAG)
      continue;
    auto* rec = new_record<roster_item_rec>();
    rec->jid = dup(xml_node_get_attrib(child, "jid"));
    rec->name = dup(xml_node_get_attrib(child, "name"));
    rec->subscription = dup(xml_node_get_attrib(child, "subscription"));
    rec->ask = dup(xml_node_get_attrib(child, "ask"));
    const char* group = xml_node_get_attrib(child, "group");
    if (!group)
      group = xml_node_get_tag_data(child, "group");
    rec->group = xml_unescape(nullptr, group);
    link(&head, &tail, rec);
  }
  return head;
}

disco_item_rec* packet_disco_items(packet* p, disco_item_rec* list) {
  disco_item_rec* head = nullptr;
  disco_item_rec* tail = nullptr;
  packet* query = packet_query(p);
  xml_node* item = query ? xml_node_get_tag(query->x, "item") : nullptr;
  for (; item && safe_strcmp(item->name, "item") == 0; item = item->next) {
    auto* rec = new_record<disco_item_rec>();
    rec->jid = dup(xml_node_get_attrib(item, "jid"));
    rec->name = dup(xml_node_get_attrib(item, "name"));
    link(&head, &tail, rec);
  }
  if (!head)
    return list;
  tail->next = list;
  return head;
}

disco_info_rec* packet_disco_info(packet* p) {
  auto* info = new_record<disco_info_rec>();
  const char* from = p ? xml_node_get_attrib(p->x, "from") : nullptr;
  info->from = dup(from ? from : "");
  packet* query = packet_query(p);
  if (!query)
    return info;
  xml_node* identity = xml_node_get_tag(query->x, "identity");
  info->type = dup(xml_node_get_attrib(identity, "type"));
  info->category = dup(xml_node_get_attrib(identity, "category"));
  xml_node* feature = xml_node_get_tag(query->x, "feature");
  for (; feature && safe_strcmp(feature->name, "feature") == 0; feature = feature->next) {
    auto* rec = new_record<text_rec>();
    rec->text = dup(xml_node_get_attrib(feature, "var"));
    rec->next = info->features;  // at the front: reverse document order
    info->features = rec;
  }
  return info;
}

text_rec* packet_route(packet* p, field_buf src[ROUTE_FIELDS], field_buf dst[ROUTE_FIELDS]) {
  for (int i = 0; i < ROUTE_FIELDS; ++i) {
    field_clear(src[i]);
    field_clear(dst[i]);
  }
  xml_node* body = p ? xml_node_first_content(p->x) : nullptr;
  copy_endpoint(xml_node_get_tag(body, "src"), src);
  xml_node* destination = xml_node_get_tag(body, "dst");
  if (!destination)
    return nullptr;
  copy_endpoint(destination, dst);
  text_rec* head = nullptr;
  text_rec* tail = nullptr;
  for (xml_node* segment = xml_node_get_tag(body, "segment"); segment;
       segment = xml_node_next_content(segment)) {
    const char* text = xml_node_get_data(segment);
    if (!text)
      break;
    auto* rec = new_record<text_rec>();
    rec->text = dup(text);
    link(&head, &tail, rec);
  }
  return head;
}

void agent_list_free(agent_rec* list) {
  while (list) {
    agent_rec* next = list->next;
    std::free(list->jid);
    std::free(list->name);
    std::free(list->description);
    std::free(list->service);
    std::free(list);
    list = next;
  }
}

void roster_item_list_free(roster_item_rec* list) {
  while (list) {
    roster_item_rec* next = list->next;
    std::free(list->jid);
    std::free(list->name);
    std::free(list->subscription);
    std::free(list->ask);
    std::free(list->group);
    std::free(list);
    list = next;
  }
}

void disco_item_list_free(disco_item_rec* list) {
  while (list) {
    disco_item_rec* next = list->next;
    std::free(list->jid);
    std::free(list->name);
    std::free(list);
    list = next;
  }
}

void text_list_free(text_rec* list) {
  while (list) {
    text_rec* next = list->next;
    std::free(list->text);
    std::free(list);
    list = next;
  }
}

void disco_info_free(disco_info_rec* info) {
  if (!info)
    return;
  std::free(info->from);
  std::free(info->type);
  std::free(info->category);
  text_list_free(info->features);
  std::free(info);
}
