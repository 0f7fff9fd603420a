#include "xml/xml_node.h"

#include <cstring>

namespace {

constexpr int kTreeHeapSize = 1024;

xml_node* insert_child(xml_node* parent, const char* name, int type) {
  xml_node* node;
  if (!parent->last_child) {
    node = xml_node_new(parent->pool, name, type);
    parent->first_child = node;
  } else {
    node = xml_node_new(parent->last_child->pool, name, type);
    node->prev = parent->last_child;
    parent->last_child->next = node;
  }
  node->parent = parent;
  parent->last_child = node;
  return node;
}

void set_value(xml_node* attrib, const char* value) {
  size_t length = std::strlen(value);
  attrib->data = pool_strndup(attrib->pool, value, length);
  attrib->data_size = static_cast<int>(length);
}

xml_node* find_attrib(xml_node* node, const char* name) {
  for (xml_node* a = node->first_attrib; a; a = a->next) {
    if (safe_strcmp(a->name, name) == 0)
      return a;
  }
  return nullptr;
}

}  // namespace

xml_node* xml_node_new(pool* p, const char* name, int type) {
  if (type < XML_NODE_TAG || type > XML_NODE_CDATA)
    return nullptr;
  if (!name && type != XML_NODE_CDATA)
    return nullptr;
  if (!p)
    p = pool_create_with_heap(kTreeHeapSize);
  auto* node = static_cast<xml_node*>(pmalloc_fill(p, sizeof(xml_node), 0));
  if (type != XML_NODE_CDATA)
    node->name = pool_strdup(p, name);
  node->type = static_cast<uint16_t>(type);
  node->pool = p;
  return node;
}

xml_node* xml_node_new_tag(const char* name) {
  return xml_node_new(nullptr, name, XML_NODE_TAG);
}

xml_node* xml_node_insert_tag(xml_node* parent, const char* name) {
  if (!parent || !name)
    return nullptr;
  return insert_child(parent, name, XML_NODE_TAG);
}

xml_node* xml_node_insert_cdata(xml_node* node, const char* text, int size) {
  if (!node || !text)
    return nullptr;
  if (size < 0)
    size = static_cast<int>(std::strlen(text));
  xml_node* last = node->last_child;
  if (last && last->type == XML_NODE_CDATA) {
    // Merging copies both parts into a new buffer; the old copy stays in the pool.
    int old_size = last->data_size;
    auto* merged =
        static_cast<char*>(pmalloc(last->pool, static_cast<size_t>(old_size) + size + 1));
    std::memcpy(merged, last->data, static_cast<size_t>(old_size));
    std::memcpy(merged + old_size, text, static_cast<size_t>(size));
    merged[old_size + size] = '\0';
    last->data = merged;
    last->data_size = old_size + size;
    last->pool->size -= old_size;
    return last;
  }
  xml_node* cdata = insert_child(node, nullptr, XML_NODE_CDATA);
  cdata->data = pool_strndup(cdata->pool, text, static_cast<size_t>(size));
  cdata->data_size = size;
  return cdata;
}

void xml_node_append_attrib(xml_node* node, const char* name, const char* value) {
  if (!node || !name || !value)
    return;
  xml_node* attrib = xml_node_new(node->pool, name, XML_NODE_ATTRIB);
  set_value(attrib, value);
  if (node->last_attrib) {
    attrib->prev = node->last_attrib;
    node->last_attrib->next = attrib;
  } else {
    node->first_attrib = attrib;
  }
  node->last_attrib = attrib;
}

void xml_node_put_attrib(xml_node* node, const char* name, const char* value) {
  if (!node || !name || !value)
    return;
  if (xml_node* existing = find_attrib(node, name))
    set_value(existing, value);
  else
    xml_node_append_attrib(node, name, value);
}

void xml_node_put_attribs(xml_node* node, const char** pairs) {
  if (!node || !pairs)
    return;
  for (int i = 0; pairs[i] && pairs[i + 1]; i += 2)
    xml_node_put_attrib(node, pairs[i], pairs[i + 1]);
}

const char* xml_node_get_attrib(xml_node* node, const char* name) {
  if (!node)
    return nullptr;
  xml_node* attrib = find_attrib(node, name);
  return attrib ? attrib->data : nullptr;
}

void xml_node_hide_attrib(xml_node* node, const char* name) {
  if (!node)
    return;
  xml_node* attrib = find_attrib(node, name);
  if (!attrib)
    return;
  if (attrib->prev)
    attrib->prev->next = attrib->next;
  else
    node->first_attrib = attrib->next;
  if (attrib->next)
    attrib->next->prev = attrib->prev;
  else
    node->last_attrib = attrib->prev;
  attrib->prev = attrib->next = nullptr;
}

char* xml_node_get_data(xml_node* node) {
  if (!node)
    return nullptr;
  if (node->type != XML_NODE_TAG)
    return node->data;
  for (xml_node* child = node->first_child; child; child = child->next) {
    if (child->type == XML_NODE_CDATA)
      return child->data;
  }
  return nullptr;
}

char* xml_node_get_tag_data(xml_node* node, const char* path) {
  return xml_node_get_data(xml_node_get_tag(node, path));
}

xml_node* xml_node_first_child(xml_node* node) {
  return node ? node->first_child : nullptr;
}

namespace {

bool is_indentation(const xml_node* node) {
  if (node->type != XML_NODE_CDATA || !node->data)
    return false;
  for (const char* c = node->data; *c; ++c) {
    if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n')
      return false;
  }
  return true;
}

xml_node* skip_indentation(xml_node* node) {
  while (node && is_indentation(node))
    node = node->next;
  return node;
}

}  // namespace

xml_node* xml_node_first_content(xml_node* node) {
  return node ? skip_indentation(node->first_child) : nullptr;
}

xml_node* xml_node_next_content(xml_node* node) {
  return node ? skip_indentation(node->next) : nullptr;
}

xml_node* xml_node_next_sibling(xml_node* node) {
  return node ? node->next : nullptr;
}
xml_node* xml_node_parent(xml_node* node) {
  return node ? node->parent : nullptr;
}
char* xml_node_name(xml_node* node) {
  return node ? node->name : nullptr;
}
pool* xml_node_pool(xml_node* node) {
  return node ? node->pool : nullptr;
}

void xml_node_free(xml_node* node) {
  if (node)
    pool_destroy(node->pool);
}
