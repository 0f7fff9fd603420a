// Small pieces shared by the stanza builders.
#pragma once

#include "xml/xml_node.h"

// Appends <name>text</name>; with a null text the element is empty.
xml_node* put_text_child(xml_node* parent, const char* name, const char* text);
// put_text_child only when `text` is non-null.
void put_text_child_if_given(xml_node* parent, const char* name, const char* text);
// put_text_child only when `text` is non-null and not empty.
void put_text_child_if_not_empty(xml_node* parent, const char* name, const char* text);
// Appends an element child with an xmlns attribute.
xml_node* put_ns_child(xml_node* parent, const char* name, const char* ns);
// True for null or "".
bool is_empty(const char* text);
// The payload child that build_iq inserted.
inline xml_node* iq_payload(xml_node* iq) {
  return iq->first_child;
}
// "geoloc:" followed by the address text, in the node's pool.
char* geoloc_node_name(xml_node* node, const char* address);
