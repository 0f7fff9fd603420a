// Serialising a tree: attributes always in single quotes, no declaration, no added whitespace.
#include "xml/strchain.h"
#include "xml/xml_escape.h"
#include "xml/xml_node.h"

namespace {

void put_element(strchain* out, xml_node* node) {
  pool* p = out->pool;
  strchain_addv(out, "<", node->name, out);
  for (xml_node* a = node->first_attrib; a; a = a->next)
    strchain_addv(out, " ", a->name, "='", xml_escape(p, a->data), "'", out);
  if (!node->first_child) {
    strchain_add(out, "/>");
    return;
  }
  strchain_add(out, ">");
  for (xml_node* child = node->first_child; child; child = child->next) {
    if (child->type == XML_NODE_TAG)
      put_element(out, child);
    else if (child->type == XML_NODE_CDATA)
      strchain_add(out, xml_escape(p, child->data));
  }
  strchain_addv(out, "</", node->name, ">", out);
}

}  // namespace

char* xml_node_to_string(xml_node* node) {
  if (!node || node->type != XML_NODE_TAG)
    return nullptr;
  strchain* out = strchain_new(node->pool);
  put_element(out, node);
  return strchain_join(out);
}
