// The XML node tree: elements, attributes and text, all allocated from the pool of the tree.
// A tree is freed whole by destroying its pool; single nodes are never freed.
#pragma once

#include <cstdint>

#include "xml/pool.h"

enum : uint16_t { XML_NODE_TAG = 0, XML_NODE_ATTRIB = 1, XML_NODE_CDATA = 2 };

struct xml_node {
  char* name;     // element or attribute name; null for text
  uint16_t type;  // XML_NODE_TAG, XML_NODE_ATTRIB or XML_NODE_CDATA
  char* data;     // attribute value or text, NUL-terminated; null for an element
  int data_size;  // length of data without the NUL
  ::pool* pool;   // the pool that owns the node and its whole tree
  xml_node* parent;
  xml_node* first_child;
  xml_node* last_child;
  xml_node* prev;
  xml_node* next;
  xml_node* first_attrib;  // attributes are linked through prev/next; their parent is unset
  xml_node* last_attrib;
};

// A zero-filled node of `type` (0..2) named `name` (required except for text). A null pool
// means a new pool with a 1024-byte heap block.
xml_node* xml_node_new(pool* p, const char* name, int type);
// The root element of a new tree in its own pool.
xml_node* xml_node_new_tag(const char* name);
// Appends a new element child; null when parent or name is null.
xml_node* xml_node_insert_tag(xml_node* parent, const char* name);
// Appends `size` bytes of text (-1: up to the NUL). Text following a text child is merged
// into it. Returns the text node; null for a null node or text.
xml_node* xml_node_insert_cdata(xml_node* node, const char* text, int size);
// Sets an attribute, replacing the value of an existing one of that name.
void xml_node_put_attrib(xml_node* node, const char* name, const char* value);
// Puts each pair of a null-terminated array of alternating names and values, in order.
void xml_node_put_attribs(xml_node* node, const char** pairs);
// Appends an attribute without looking for an existing one of that name: for parsers that
// already guarantee distinct names (the duplicate search would be quadratic on hostile input).
void xml_node_append_attrib(xml_node* node, const char* name, const char* value);
// Value of the first attribute of that name, or null.
const char* xml_node_get_attrib(xml_node* node, const char* name);
// Unlinks the first attribute of that name; its memory stays in the pool.
void xml_node_hide_attrib(xml_node* node, const char* name);

// Path lookup among the children: "name", "name?attr", "name?attr=value", "?attr",
// "first/rest" (searching below every child named first).
xml_node* xml_node_get_tag(xml_node* node, const char* path);
// xml_node_get_data of xml_node_get_tag.
char* xml_node_get_tag_data(xml_node* node, const char* path);
// An attribute's or text node's data; for an element the data of its first text child.
char* xml_node_get_data(xml_node* node);
// xml_node_get_tag from the node, then below each node of its first-child chain (children
// found with xml_node_first_content), then from each following sibling.
xml_node* xml_node_find_near(xml_node* node, const char* path);
// As xml_node_find_near, accepting only hits whose attribute attr_name equals attr_value.
xml_node* xml_node_find_near_with_attrib(xml_node* node, const char* path, const char* attr_name,
                                         const char* attr_value);

xml_node* xml_node_first_child(xml_node* node);
// The first child that is not whitespace-only text: what "the first child" means for a stanza
// whatever its indentation (a pretty-printed stanza puts a line break before every child).
xml_node* xml_node_first_content(xml_node* node);
// The next sibling that is not whitespace-only text.
xml_node* xml_node_next_content(xml_node* node);
xml_node* xml_node_next_sibling(xml_node* node);
xml_node* xml_node_parent(xml_node* node);
char* xml_node_name(xml_node* node);
pool* xml_node_pool(xml_node* node);

// Destroys the node's pool and with it the whole tree. Null is ignored.
void xml_node_free(xml_node* node);
// The element and its subtree as one string from the node's pool (attribute values in single
// quotes, no declaration, no whitespace added); null for a null node or a non-element.
char* xml_node_to_string(xml_node* node);
