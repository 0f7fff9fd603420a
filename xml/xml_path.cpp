// Path lookup among a node's children, and the widened "near" lookups built on it.
#include <cstring>
#include <string_view>

#include "xml/xml_node.h"

namespace {

// The working copy of the path is never needed: each step is a view into the caller's text.
bool name_is(const xml_node* node, std::string_view name) {
  return node->type == XML_NODE_TAG && node->name && std::string_view(node->name) == name;
}

xml_node* first_named(xml_node* node, std::string_view name) {
  for (xml_node* child = node->first_child; child; child = child->next) {
    if (name_is(child, name))
      return child;
  }
  return nullptr;
}

// "name?attr" or "name?attr=value"; an empty name matches any element.
xml_node* attribute_query(xml_node* node, std::string_view query) {
  size_t question = query.find('?');
  std::string_view name = query.substr(0, question);
  std::string_view rest = query.substr(question + 1);
  size_t equals = rest.find('=');
  std::string_view attr = rest.substr(0, equals);
  bool want_value = equals != std::string_view::npos;
  std::string_view value = want_value ? rest.substr(equals + 1) : std::string_view();
  for (xml_node* child = node->first_child; child; child = child->next) {
    if (child->type != XML_NODE_TAG || (!name.empty() && !name_is(child, name)))
      continue;
    for (xml_node* a = child->first_attrib; a; a = a->next) {
      if (a->name && std::string_view(a->name) == attr) {
        if (!want_value || (a->data && std::string_view(a->data) == value))
          return child;
        break;  // only the first attribute of that name counts
      }
    }
  }
  return nullptr;
}

xml_node* get_tag(xml_node* node, std::string_view path) {
  if (!node->first_child)
    return nullptr;
  size_t slash = path.find('/');
  size_t question = path.find('?');
  if (slash == std::string_view::npos && question == std::string_view::npos)
    return first_named(node, path);
  if (question != std::string_view::npos && (slash == std::string_view::npos || question < slash))
    return attribute_query(node, path);
  std::string_view first = path.substr(0, slash);
  std::string_view rest = path.substr(slash + 1);
  for (xml_node* child = node->first_child; child; child = child->next) {
    if (!name_is(child, first))
      continue;
    if (xml_node* hit = get_tag(child, rest))
      return hit;
  }
  return nullptr;
}

bool accepts(xml_node* hit, const char* attr_name, const char* attr_value) {
  if (!hit)
    return false;
  if (!attr_name)
    return true;
  return safe_strcmp(xml_node_get_attrib(hit, attr_name), attr_value) == 0;
}

// The places are the node itself, the nodes of its first-child chain, then each following
// sibling. The original walk repeats the start node's first-child chain after every sibling;
// the lookups are pure, so a chain that missed once misses again and one pass is equivalent.
xml_node* near_walk(xml_node* node, const char* path, const char* attr_name,
                    const char* attr_value) {
  if (!node || !path)
    return nullptr;
  xml_node* hit = xml_node_get_tag(node, path);
  if (accepts(hit, attr_name, attr_value))
    return hit;
  for (xml_node* down = xml_node_first_content(node); down; down = xml_node_first_content(down)) {
    hit = xml_node_get_tag(down, path);
    if (accepts(hit, attr_name, attr_value))
      return hit;
  }
  for (xml_node* sibling = node->next; sibling; sibling = sibling->next) {
    hit = xml_node_get_tag(sibling, path);
    if (accepts(hit, attr_name, attr_value))
      return hit;
  }
  return nullptr;
}

}  // namespace

xml_node* xml_node_get_tag(xml_node* node, const char* path) {
  if (!node || !path)
    return nullptr;
  return get_tag(node, path);
}

xml_node* xml_node_find_near(xml_node* node, const char* path) {
  return near_walk(node, path, nullptr, nullptr);
}

xml_node* xml_node_find_near_with_attrib(xml_node* node, const char* path, const char* attr_name,
                                         const char* attr_value) {
  // A null attribute name never matches (safe_strcmp), so nothing is accepted.
  if (!attr_name)
    return nullptr;
  return near_walk(node, path, attr_name, attr_value);
}
