#include "xml/xml_node.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Tree {
  xml_node* root;
  explicit Tree(const char* name) : root(xml_node_new_tag(name)) {}
  ~Tree() { xml_node_free(root); }
};

std::string text(const char* s) {
  return s ? s : "(null)";
}

TEST(XmlNode, NewChecksTypeAndName) {
  EXPECT_EQ(xml_node_new(nullptr, "a", 3), nullptr);
  EXPECT_EQ(xml_node_new(nullptr, "a", -1), nullptr);
  EXPECT_EQ(xml_node_new(nullptr, nullptr, XML_NODE_TAG), nullptr);
  EXPECT_EQ(xml_node_new(nullptr, nullptr, XML_NODE_ATTRIB), nullptr);
  xml_node* text_node = xml_node_new(nullptr, nullptr, XML_NODE_CDATA);
  ASSERT_NE(text_node, nullptr);
  EXPECT_EQ(text_node->name, nullptr);
  ASSERT_NE(text_node->pool->heap, nullptr);
  EXPECT_EQ(text_node->pool->heap->size, 1024);
  xml_node_free(text_node);
  xml_node_free(nullptr);
}

TEST(XmlNode, ChildrenKeepInsertionOrderAndShareThePool) {
  Tree t("iq");
  xml_node* a = xml_node_insert_tag(t.root, "a");
  xml_node* txt = xml_node_insert_cdata(t.root, "hello", -1);
  xml_node* b = xml_node_insert_tag(t.root, "b");
  EXPECT_EQ(t.root->first_child, a);
  EXPECT_EQ(a->next, txt);
  EXPECT_EQ(txt->next, b);
  EXPECT_EQ(b->prev, txt);
  EXPECT_EQ(t.root->last_child, b);
  EXPECT_EQ(b->parent, t.root);
  EXPECT_EQ(b->pool, t.root->pool);
  EXPECT_EQ(txt->type, XML_NODE_CDATA);
  EXPECT_EQ(xml_node_insert_tag(nullptr, "x"), nullptr);
  EXPECT_EQ(xml_node_insert_tag(t.root, nullptr), nullptr);
  EXPECT_EQ(xml_node_parent(b), t.root);
  EXPECT_EQ(xml_node_first_child(t.root), a);
  EXPECT_EQ(xml_node_next_sibling(a), txt);
  EXPECT_STREQ(xml_node_name(b), "b");
  EXPECT_EQ(xml_node_pool(b), t.root->pool);
  EXPECT_EQ(xml_node_first_child(nullptr), nullptr);
  EXPECT_EQ(xml_node_name(nullptr), nullptr);
}

TEST(XmlNode, AdjacentTextMergesButAnElementBetweenSplitsIt) {
  Tree t("body");
  xml_node* first = xml_node_insert_cdata(t.root, "abc", -1);
  int32_t size_before = t.root->pool->size;
  xml_node* merged = xml_node_insert_cdata(t.root, "defXYZ", 3);
  EXPECT_EQ(merged, first);
  EXPECT_STREQ(first->data, "abcdef");
  EXPECT_EQ(first->data_size, 6);
  EXPECT_EQ(t.root->pool->size, size_before - 3);  // decreased by the old length
  EXPECT_EQ(t.root->first_child, t.root->last_child);

  xml_node_insert_tag(t.root, "br");
  xml_node* second = xml_node_insert_cdata(t.root, "ghi", -1);
  EXPECT_NE(second, first);
  EXPECT_STREQ(xml_node_get_data(t.root), "abcdef");  // only the first text child
  EXPECT_EQ(xml_node_insert_cdata(nullptr, "x", -1), nullptr);
  EXPECT_EQ(xml_node_insert_cdata(t.root, nullptr, -1), nullptr);
}

TEST(XmlNode, TextKeepsEmbeddedBytesUpToTheGivenSize) {
  Tree t("b");
  xml_node* empty = xml_node_insert_cdata(t.root, "", 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty->data, "");
  EXPECT_STREQ(xml_node_get_data(t.root), "");
}

TEST(XmlNode, AttributesReplaceInPlaceAndHideUnlinks) {
  Tree t("presence");
  xml_node_put_attrib(t.root, "to", "a@b");
  xml_node_put_attrib(t.root, "type", "available");
  xml_node_put_attrib(t.root, "id", "1");
  xml_node_put_attrib(t.root, "type", "away");  // replaced, keeps its place
  EXPECT_STREQ(xml_node_get_attrib(t.root, "type"), "away");
  EXPECT_STREQ(t.root->first_attrib->next->name, "type");
  EXPECT_EQ(t.root->first_attrib->next->data_size, 4);
  EXPECT_EQ(t.root->first_attrib->parent, nullptr);

  xml_node_put_attrib(t.root, "x", nullptr);
  xml_node_put_attrib(t.root, nullptr, "v");
  xml_node_put_attrib(nullptr, "x", "v");
  EXPECT_EQ(xml_node_get_attrib(t.root, "x"), nullptr);
  EXPECT_EQ(xml_node_get_attrib(t.root, nullptr), nullptr);

  xml_node_hide_attrib(t.root, "to");  // first
  EXPECT_STREQ(t.root->first_attrib->name, "type");
  xml_node_hide_attrib(t.root, "id");  // last
  EXPECT_EQ(t.root->last_attrib, t.root->first_attrib);
  xml_node_hide_attrib(t.root, "missing");
  xml_node_hide_attrib(t.root, "type");
  EXPECT_EQ(t.root->first_attrib, nullptr);
  EXPECT_EQ(t.root->last_attrib, nullptr);
  EXPECT_EQ(xml_node_get_attrib(t.root, "type"), nullptr);
}

TEST(XmlNode, PutAttribsTakesAlternatingPairsInOrder) {
  Tree t("x");
  const char* pairs[] = {"a", "1", "b", "2", "a", "3", nullptr};
  xml_node_put_attribs(t.root, pairs);
  EXPECT_STREQ(xml_node_get_attrib(t.root, "a"), "3");
  EXPECT_STREQ(t.root->last_attrib->name, "b");
}

TEST(XmlNode, DataOfEachKind) {
  Tree t("m");
  xml_node_put_attrib(t.root, "k", "v");
  EXPECT_STREQ(xml_node_get_data(t.root->first_attrib), "v");
  EXPECT_EQ(xml_node_get_data(t.root), nullptr);
  xml_node* child = xml_node_insert_tag(t.root, "c");
  xml_node_insert_cdata(t.root, "later", -1);
  EXPECT_STREQ(xml_node_get_data(t.root), "later");
  EXPECT_EQ(xml_node_get_data(child), nullptr);
  EXPECT_EQ(text(xml_node_get_tag_data(t.root, "c")), "(null)");
}

}  // namespace
