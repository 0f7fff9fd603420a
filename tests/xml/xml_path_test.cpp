#include <gtest/gtest.h>

#include <cstdio>

#include "xml/xml_node.h"

namespace {

// <iq><x/><query xmlns='jabber:iq:roster'><item jid='a'/></query>text
//   <x xmlns='http://jabber.org/protocol/muc#user'><item role='r'/></x></iq>
class XmlPath : public ::testing::Test {
 protected:
  void SetUp() override {
    root = xml_node_new_tag("iq");
    plain_x = xml_node_insert_tag(root, "x");
    query = xml_node_insert_tag(root, "query");
    xml_node_put_attrib(query, "xmlns", "jabber:iq:roster");
    xml_node_put_attrib(xml_node_insert_tag(query, "item"), "jid", "a");
    xml_node_insert_cdata(root, "text", -1);
    muc_x = xml_node_insert_tag(root, "x");
    xml_node_put_attrib(muc_x, "xmlns", "http://jabber.org/protocol/muc#user");
    xml_node_put_attrib(xml_node_insert_tag(muc_x, "item"), "role", "r");
  }
  void TearDown() override { xml_node_free(root); }

  xml_node* root = nullptr;
  xml_node* plain_x = nullptr;
  xml_node* query = nullptr;
  xml_node* muc_x = nullptr;
};

TEST_F(XmlPath, PlainNameFindsTheFirstElement) {
  EXPECT_EQ(xml_node_get_tag(root, "x"), plain_x);
  EXPECT_EQ(xml_node_get_tag(root, "none"), nullptr);
  EXPECT_EQ(xml_node_get_tag(root, ""), nullptr);
  EXPECT_EQ(xml_node_get_tag(root, nullptr), nullptr);
  EXPECT_EQ(xml_node_get_tag(nullptr, "x"), nullptr);
  EXPECT_EQ(xml_node_get_tag(plain_x, "x"), nullptr);  // no children
}

TEST_F(XmlPath, EmptyNameAttributeQueryMatchesAnyElement) {
  EXPECT_EQ(xml_node_get_tag(root, "?xmlns"), query);
  EXPECT_EQ(xml_node_get_tag(root, "?role"), nullptr);  // only direct children
  EXPECT_EQ(xml_node_get_tag(root, "x?xmlns"), muc_x);
}

TEST_F(XmlPath, AttributeValueMayHoldSlashes) {
  char path[128];
  std::snprintf(path, sizeof path, "x?xmlns=%s", "http://jabber.org/protocol/muc#user");
  EXPECT_EQ(xml_node_get_tag(root, path), muc_x);
  EXPECT_EQ(xml_node_get_tag(root, "x?xmlns=http://jabber.org/protocol/muc"), nullptr);
  EXPECT_EQ(xml_node_get_tag(root, "query?xmlns=jabber:iq:roster"), query);
  EXPECT_EQ(xml_node_get_tag(root, "query?xmlns="), nullptr);
}

TEST_F(XmlPath, QuestionMarkAfterASlashIsAStepPath) {
  EXPECT_EQ(xml_node_get_tag(root, "x/item?role=r"), muc_x->first_child);
  EXPECT_EQ(xml_node_get_tag(root, "query/item?jid=a"), query->first_child);
  EXPECT_STREQ(xml_node_get_attrib(xml_node_get_tag(root, "query/item"), "jid"), "a");
}

TEST_F(XmlPath, TwoStepPathSearchesBelowEverySameNamedChild) {
  // The first x has no item; the second one does.
  EXPECT_EQ(xml_node_get_tag(root, "x/item"), muc_x->first_child);
  xml_node* third = xml_node_insert_tag(root, "x");
  xml_node* deep = xml_node_insert_tag(xml_node_insert_tag(third, "y"), "z");
  EXPECT_EQ(xml_node_get_tag(root, "x/y/z"), deep);
  EXPECT_EQ(xml_node_get_tag(root, "x/y/w"), nullptr);
  EXPECT_EQ(xml_node_get_tag(root, "x/"), nullptr);
}

TEST(XmlFindNear, WalksTheFirstChildChainThenTheSiblings) {
  // <message><event><items><item><geoloc/></item></items></event></message> + sibling
  // <s><geoloc/></s>
  xml_node* top = xml_node_new_tag("top");
  xml_node* message = xml_node_insert_tag(top, "message");
  xml_node* event = xml_node_insert_tag(message, "event");
  xml_node* items = xml_node_insert_tag(event, "items");
  xml_node* item = xml_node_insert_tag(items, "item");
  xml_node* geoloc = xml_node_insert_tag(item, "geoloc");
  xml_node* sibling = xml_node_insert_tag(top, "s");
  xml_node* sibling_geoloc = xml_node_insert_tag(sibling, "geoloc");
  xml_node_put_attrib(sibling_geoloc, "xmlns", "ns");

  EXPECT_EQ(xml_node_find_near(message, "event"), event);
  EXPECT_EQ(xml_node_find_near(message, "items"), items);  // below event
  EXPECT_EQ(xml_node_find_near(message, "geoloc"), geoloc);
  EXPECT_EQ(xml_node_find_near(event, "none"), nullptr);
  // Not on the first-child chain of message: found under the next sibling.
  xml_node* side = xml_node_insert_tag(message, "side");
  xml_node* hidden = xml_node_insert_tag(side, "deep");
  EXPECT_EQ(xml_node_find_near(message, "deep"), nullptr);
  EXPECT_EQ(xml_node_find_near(hidden->parent, "deep"), hidden);

  // A rejected hit does not stop the walk.
  EXPECT_EQ(xml_node_find_near_with_attrib(message, "geoloc", "xmlns", "ns"), sibling_geoloc);
  EXPECT_EQ(xml_node_find_near_with_attrib(message, "geoloc", "xmlns", "other"), nullptr);
  EXPECT_EQ(xml_node_find_near_with_attrib(message, "geoloc", nullptr, nullptr), nullptr);
  xml_node_free(top);
}

TEST(XmlSerialize, AttributesInSingleQuotesWithEscaping) {
  xml_node* root = xml_node_new_tag("item");
  xml_node_put_attrib(root, "name", "a<b'c");
  xml_node_put_attrib(root, "jid", "x@y");
  EXPECT_STREQ(xml_node_to_string(root), "<item name='a&lt;b&apos;c' jid='x@y'/>");
  xml_node_free(root);
}

TEST(XmlSerialize, ChildrenTextAndEmptyText) {
  xml_node* root = xml_node_new_tag("message");
  xml_node_put_attrib(root, "to", "a@b");
  xml_node_insert_cdata(xml_node_insert_tag(root, "body"), "1 < 2 & \"q\"", -1);
  xml_node_insert_cdata(xml_node_insert_tag(root, "subject"), "", 0);
  xml_node_insert_tag(root, "empty");
  EXPECT_STREQ(xml_node_to_string(root),
               "<message to='a@b'><body>1 &lt; 2 &amp; &quot;q&quot;</body><subject></subject>"
               "<empty/></message>");
  EXPECT_EQ(xml_node_to_string(nullptr), nullptr);
  EXPECT_EQ(xml_node_to_string(root->first_attrib), nullptr);
  EXPECT_EQ(xml_node_to_string(root->first_child->first_child), nullptr);
  xml_node_free(root);
}

}  // namespace
