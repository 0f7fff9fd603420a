#include <gtest/gtest.h>

#include "tests/xml/packet_harness.h"
#include "xml/namespaces.h"

namespace {

TEST(PacketType, FirstLetterRulesInTheirOrder) {
  EXPECT_EQ(TypeOf("<message/>"), PACKET_MESSAGE);
  EXPECT_EQ(TypeOf("<mistake/>"), PACKET_MESSAGE);
  EXPECT_EQ(TypeOf("<presence/>"), PACKET_PRESENCE);
  EXPECT_EQ(TypeOf("<presences/>"), PACKET_UNKNOWN);
  EXPECT_EQ(TypeOf("<iq/>"), PACKET_IQ);
  EXPECT_EQ(TypeOf("<items/>"), PACKET_IQ);
  EXPECT_EQ(TypeOf("<stream:features/>"), PACKET_FEATURES);
  EXPECT_EQ(TypeOf("<compressed/>"), PACKET_COMPRESSED);
  EXPECT_EQ(TypeOf("<proceed/>"), PACKET_PROCEED);
  EXPECT_EQ(TypeOf("<success/>"), PACKET_SUCCESS);
  EXPECT_EQ(TypeOf("<failure/>"), PACKET_FAILURE);
  EXPECT_EQ(TypeOf("<stream:error/>"), PACKET_UNKNOWN);
}

TEST(PacketSubtype, NegotiationElements) {
  EXPECT_EQ(SubtypeOf("<stream:features/>"), SUBTYPE_FEATURES);
  EXPECT_EQ(SubtypeOf("<compressed type='result'/>"), SUBTYPE_COMPRESSED);
  EXPECT_EQ(SubtypeOf("<proceed/>"), SUBTYPE_PROCEED);
  EXPECT_EQ(SubtypeOf("<success/>"), SUBTYPE_SUCCESS);
  EXPECT_EQ(SubtypeOf("<failure/>"), SUBTYPE_FAILURE);
  EXPECT_EQ(SubtypeOf("<handshake type='result'/>"), SUBTYPE_RESULT);
  EXPECT_EQ(SubtypeOf("<handshake type='get'/>"), SUBTYPE_NONE);
}

TEST(PacketSubtype, MessageTypes) {
  EXPECT_EQ(SubtypeOf("<message type='location'/>"), SUBTYPE_LOCATION);
  EXPECT_EQ(SubtypeOf("<message type='locationreq'/>"), SUBTYPE_LOCATION_REQUEST);
  EXPECT_EQ(SubtypeOf("<message type='chat'/>"), SUBTYPE_CHAT);
  EXPECT_EQ(SubtypeOf("<message type='error'><error code='404'/></message>"), SUBTYPE_CHAT);
  EXPECT_EQ(SubtypeOf("<message type='groupchat'/>"), SUBTYPE_GROUPCHAT);
  EXPECT_EQ(SubtypeOf("<message type='headline'/>"), SUBTYPE_HEADLINE);
  EXPECT_EQ(SubtypeOf("<message/>"), SUBTYPE_CHAT);
  EXPECT_EQ(SubtypeOf("<message type='normal'><body>x</body></message>"), SUBTYPE_CHAT);
  // A known type wins over the children.
  EXPECT_EQ(SubtypeOf("<message type='chat'><url-data/></message>"), SUBTYPE_CHAT);
}

TEST(PacketSubtype, MessageChildrenInTheirOrder) {
  EXPECT_EQ(SubtypeOf("<message><alert xmlns='" NS_URI_CAP_ALERT "'/><url-data/></message>"),
            SUBTYPE_URL_DATA);
  EXPECT_EQ(SubtypeOf("<message><alert xmlns='" NS_URI_CAP_ALERT "'/></message>"),
            SUBTYPE_CAP_ALERT);
  // An alert in another namespace is a chat message, and the geoloc is not looked at.
  EXPECT_EQ(SubtypeOf("<message><alert xmlns='urn:other'/>"
                      "<geoloc xmlns='" NS_URI_GEOLOC "'/></message>"),
            SUBTYPE_CHAT);
  EXPECT_EQ(SubtypeOf("<message><event xmlns='" NS_URI_PUBSUB_EVENT "'><items><item>"
                      "<geoloc xmlns='" NS_URI_GEOLOC "'><lat>1</lat></geoloc>"
                      "</item></items></event></message>"),
            SUBTYPE_GEOLOC);
  EXPECT_EQ(SubtypeOf("<message><geoloc xmlns='urn:other'/></message>"), SUBTYPE_CHAT);
  EXPECT_EQ(SubtypeOf("<message from='room@muc'><x xmlns='" NS_URI_MUC_USER "'>"
                      "<invite from='a@b'><reason>hi</reason></invite></x></message>"),
            SUBTYPE_MUC_INVITE);
  // A conference x without an invitation, or an invitation in another x, is chat.
  EXPECT_EQ(SubtypeOf("<message><x xmlns='" NS_URI_MUC_USER "'><status code='1'/></x></message>"),
            SUBTYPE_CHAT);
  EXPECT_EQ(SubtypeOf("<message><body>hi</body><x xmlns='" NS_URI_MUC_USER "'><invite/></x>"
                      "<x xmlns='jabber:x:conference'/></message>"),
            SUBTYPE_MUC_INVITE);
  // The lookup sees only the first x child of the message.
  EXPECT_EQ(SubtypeOf("<message><x xmlns='jabber:x:event'/>"
                      "<x xmlns='" NS_URI_MUC_USER "'><invite/></x></message>"),
            SUBTYPE_CHAT);
}

TEST(PacketSubtype, PresenceRules) {
  EXPECT_EQ(SubtypeOf("<presence/>"), SUBTYPE_AVAILABLE);
  EXPECT_EQ(SubtypeOf("<presence type='unavailable'/>"), SUBTYPE_UNAVAILABLE);
  EXPECT_EQ(SubtypeOf("<presence type='probe'/>"), SUBTYPE_PROBE);
  EXPECT_EQ(SubtypeOf("<presence type='subscribe'/>"), SUBTYPE_SUBSCRIBE);
  EXPECT_EQ(SubtypeOf("<presence type='subscribed'/>"), SUBTYPE_SUBSCRIBE);
  EXPECT_EQ(SubtypeOf("<presence type='unsubscribe'/>"), SUBTYPE_SUBSCRIBE);
  EXPECT_EQ(SubtypeOf("<presence type='unsubscribed'/>"), SUBTYPE_SUBSCRIBE);
  EXPECT_EQ(SubtypeOf("<presence type='error'/>"), SUBTYPE_NONE);
  // The conference x is looked at before the type, even behind another x.
  EXPECT_EQ(SubtypeOf("<presence type='unavailable'><x xmlns='vcard-temp:x:update'/>"
                      "<x xmlns='" NS_URI_MUC_USER "'><item role='none'/></x></presence>"),
            SUBTYPE_MUC_PRESENCE);
  EXPECT_EQ(SubtypeOf("<presence><x xmlns='" NS_URI_MUC_USER "#extra'/></presence>"),
            SUBTYPE_AVAILABLE);
}

TEST(PacketSubtype, AvailableTypeIsHiddenFromTheStanza) {
  WithPacket("<presence type='available' from='a@b'/>", [](packet* p) {
    EXPECT_EQ(packet_subtype(p), SUBTYPE_AVAILABLE);
    EXPECT_EQ(xml_node_get_attrib(p->x, "type"), nullptr);
    EXPECT_STREQ(xml_node_to_string(p->x), "<presence from='a@b'/>");
  });
}

TEST(PacketSubtype, IqTypesAndPayload) {
  EXPECT_EQ(SubtypeOf("<iq type='get'/>"), SUBTYPE_GET);
  EXPECT_EQ(SubtypeOf("<iq type='set'/>"), SUBTYPE_SET);
  EXPECT_EQ(SubtypeOf("<iq type='result'/>"), SUBTYPE_RESULT);
  EXPECT_EQ(SubtypeOf("<iq type='error'/>"), SUBTYPE_ERROR);
  EXPECT_EQ(SubtypeOf("<iq type='GET'/>"), SUBTYPE_NONE);
  EXPECT_EQ(SubtypeOf("<iq/>"), SUBTYPE_NONE);
  WithPacket("<iq type='result'><error/><query xmlns='jabber:iq:roster'/></iq>", [](packet* p) {
    ASSERT_NE(p->iq, nullptr);
    EXPECT_STREQ(p->iq->name, "query");
    EXPECT_STREQ(p->iq_ns, "jabber:iq:roster");
  });
  WithPacket("<message><x xmlns='a'/></message>", [](packet* p) {
    EXPECT_EQ(p->iq, nullptr);
    EXPECT_EQ(p->iq_ns, nullptr);
  });
}

TEST(PacketSubtype, ComputedOnceAndStored) {
  WithPacket("<iq type='get'/>", [](packet* p) {
    EXPECT_EQ(p->subtype, SUBTYPE_GET);
    p->subtype = SUBTYPE_SET;
    EXPECT_EQ(packet_subtype(p), SUBTYPE_SET);
  });
  EXPECT_EQ(packet_subtype(nullptr), 0);
}

TEST(Packet, AddressesAreParsedOrNull) {
  WithPacket("<message to='Me@Example.org/r' from='bad address'/>", [](packet* p) {
    ASSERT_NE(p->to, nullptr);
    EXPECT_STREQ(p->to->server, "example.org");
    EXPECT_EQ(p->to->port, 0);
    EXPECT_EQ(p->from, nullptr);  // invalid, but the packet is still delivered
    EXPECT_STREQ(packet_from(p), "bad address");
    EXPECT_EQ(p->pool, p->x->pool);
  });
  EXPECT_EQ(packet_new(nullptr), nullptr);
}

TEST(Packet, QueryPacketIsTheQueryOrPubsubChild) {
  WithPacket("<iq><pubsub xmlns='" NS_URI_PUBSUB "'/><query xmlns='" NS_URI_ROSTER "'/></iq>",
             [](packet* p) {
               packet* q = packet_query(p);
               ASSERT_NE(q, p);
               EXPECT_STREQ(q->x->name, "query");
               EXPECT_EQ(packet_ns_code(q), NS_ROSTER);
             });
  WithPacket("<iq><pubsub xmlns='" NS_URI_PUBSUB_EVENT "'/></iq>",
             [](packet* p) { EXPECT_EQ(packet_ns_code(packet_query(p)), NS_PUBSUB); });
  WithPacket("<iq><other/></iq>", [](packet* p) { EXPECT_EQ(packet_query(p), p); });
}

TEST(Packet, NamespaceCodes) {
  struct {
    const char* uri;
    int code;
  } cases[] = {
      {"jabber:iq:agents", NS_AGENTS},
      {"jabber:iq:roster", NS_ROSTER},
      {"jabber:iq:remoteip", NS_REMOTEIP},
      {"jabber:x:oob", NS_OOB},
      {"jabber:iq:auth", NS_AUTH},
      {"http://jabber.org/protocol/pubsub", NS_PUBSUB},
      {"http://jabber.org/protocol/pubsub#event", NS_PUBSUB},
      {"http://jabber.org/protocol/disco", NS_DISCO},
      {"http://jabber.org/protocol/disco#items", NS_DISCO_ITEMS},
      {"http://jabber.org/protocol/disco#info", NS_DISCO_INFO},
      {"http://jabber.org/protocol/geoloc", NS_GEOLOC},
      {"http://tessel.example/protocol/routing", NS_ROUTING},
      {"http://jabber.org/protocol/muc#user", NS_MUC_USER},
      {"jabber:iq:roster ", NS_NONE},
  };
  for (const auto& c : cases) {
    WithPacket(std::string("<query xmlns='") + c.uri + "'/>",
               [&](packet* p) { EXPECT_EQ(packet_ns_code(p), c.code) << c.uri; });
  }
  WithPacket("<query/>", [](packet* p) { EXPECT_EQ(packet_ns_code(p), NS_NONE); });
}

}  // namespace
