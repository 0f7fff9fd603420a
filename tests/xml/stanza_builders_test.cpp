// The exact bytes of every outgoing stanza: attribute and child order are the wire format.
#include "xml/stanza_builders.h"

#include <gtest/gtest.h>

#include <string>

#include "xml/namespaces.h"
#include "xml/packet.h"

namespace {

// Serialises and frees a built stanza.
std::string wire(xml_node* stanza) {
  if (!stanza)
    return "(null)";
  const char* text = xml_node_to_string(stanza);
  std::string copy = text ? text : "(null)";
  xml_node_free(stanza);
  return copy;
}

TEST(BasicBuilders, Presence) {
  EXPECT_EQ(wire(build_presence(SUBTYPE_AVAILABLE, nullptr, nullptr, nullptr)), "<presence/>");
  EXPECT_EQ(wire(build_presence(-1, "a@b", "Out", "")),
            "<presence to='a@b'><status>Out</status></presence>");
  EXPECT_EQ(wire(build_presence(SUBTYPE_UNSUBSCRIBED, "a@b", nullptr, "away")),
            "<presence type='unsubscribed' to='a@b'><show>away</show></presence>");
  const std::pair<int, const char*> types[] = {{SUBTYPE_SUBSCRIBE, "subscribe"},
                                               {SUBTYPE_SUBSCRIBED, "subscribed"},
                                               {SUBTYPE_UNSUBSCRIBE, "unsubscribe"},
                                               {SUBTYPE_UNAVAILABLE, "unavailable"},
                                               {SUBTYPE_PROBE, "probe"}};
  for (const auto& [code, name] : types)
    EXPECT_EQ(wire(build_presence(code, nullptr, nullptr, nullptr)),
              std::string("<presence type='") + name + "'/>");
  xml_node* presence = build_presence(-1, nullptr, "", "");
  add_priority(presence, "5");
  EXPECT_EQ(wire(presence), "<presence><priority>5</priority></presence>");
}

TEST(BasicBuilders, IqAndMessage) {
  EXPECT_EQ(wire(build_iq(SUBTYPE_GET, "jabber:iq:version", "query")),
            "<iq type='get'><query xmlns='jabber:iq:version'/></iq>");
  EXPECT_EQ(wire(build_iq(SUBTYPE_ERROR, nullptr, "query")), "<iq type='error'><query/></iq>");
  EXPECT_EQ(wire(build_iq(SUBTYPE_CHAT, "x", "ping")), "<iq><ping xmlns='x'/></iq>");
  EXPECT_EQ(wire(build_iq(SUBTYPE_RESULT, nullptr, nullptr)), "<iq type='result'/>");
  EXPECT_EQ(wire(build_message("chat", "bob@example.org", "Hi", "Tom & 'Jerry' <3", "t1")),
            "<message type='chat' to='bob@example.org'><subject>Hi</subject><thread>t1</thread>"
            "<body>Tom &amp; &apos;Jerry&apos; &lt;3</body></message>");
  EXPECT_EQ(wire(build_message("", "", nullptr, "", "")), "<message/>");
}

TEST(BasicBuilders, StreamHeader) {
  xml_node* header = build_stream_header(NS_URI_CLIENT, "example.org");
  EXPECT_STREQ(stream_header_text(header),
               "<stream:stream xmlns:stream='http://etherx.jabber.org/streams' version='1.0' "
               "xmlns='jabber:client' to='example.org'>");
  xml_node_free(header);
  EXPECT_EQ(build_stream_header(nullptr, "x"), nullptr);
  EXPECT_EQ(build_stream_header(NS_URI_CLIENT, nullptr), nullptr);
}

TEST(PresenceStanzas, OwnPresenceAndConference) {
  EXPECT_EQ(wire(build_own_presence("Busy", "dnd", 5)),
            "<presence><status>Busy</status><show>dnd</show><c xmlns='" NS_URI_CAPS
            "' node='" CLIENT_CAPS_NODE
            "' ver='1.0.0.66' ext='voice-v1'/>"
            "<priority>5</priority></presence>");
  // No status text and no show: neither element, not even empty.
  EXPECT_EQ(wire(build_own_presence("", "", 2)),
            "<presence><c xmlns='" NS_URI_CAPS "' node='" CLIENT_CAPS_NODE
            "' ver='1.0.0.66' ext='voice-v1'/><priority>2</priority></presence>");
  EXPECT_EQ(wire(build_muc_join("room@muc.example.org/me", "me@example.org/orvik", "secret")),
            "<presence to='room@muc.example.org/me' from='me@example.org/orvik'>"
            "<x xmlns='http://jabber.org/protocol/muc'><password>secret</password></x></presence>");
  EXPECT_EQ(wire(build_muc_join("room@muc/me", "me@x/r", "")),
            "<presence to='room@muc/me' from='me@x/r'><x xmlns='http://jabber.org/protocol/muc'/>"
            "</presence>");
  EXPECT_EQ(wire(build_muc_leave("room@muc/me", "me@x/r")),
            "<presence type='unavailable' to='room@muc/me' from='me@x/r'/>");
  EXPECT_EQ(wire(build_muc_invite("room@muc", "amy@x", "join us")),
            "<message to='room@muc'><x xmlns='http://jabber.org/protocol/muc#user'>"
            "<invite to='amy@x'><reason>join us</reason></invite></x></message>");
  EXPECT_EQ(wire(build_muc_invite("room@muc", "", "ignored")),
            "<message to='room@muc'><x xmlns='http://jabber.org/protocol/muc#user'/></message>");
}

TEST(RosterStanzas, GetSetRemove) {
  EXPECT_EQ(wire(build_roster_get("r1")),
            "<iq type='get' id='r1'><query xmlns='jabber:iq:roster'/></iq>");
  EXPECT_EQ(wire(build_roster_set("Friends", "amy@x", "Amy")),
            "<iq type='set'><query xmlns='jabber:iq:roster'><item jid='amy@x' name='Amy'>"
            "<group>Friends</group></item></query></iq>");
  EXPECT_EQ(wire(build_roster_set(nullptr, "amy@x", nullptr)),
            "<iq type='set'><query xmlns='jabber:iq:roster'><item jid='amy@x'/></query></iq>");
  EXPECT_EQ(wire(build_roster_remove("Friends", "amy@x", "Amy", "7")),
            "<iq type='set' id='7'><query xmlns='jabber:iq:roster'>"
            "<item jid='amy@x' name='Amy' subscription='remove'><group>Friends</group></item>"
            "</query></iq>");
  EXPECT_EQ(wire(build_roster_remove(nullptr, "amy@x", "", "8")),
            "<iq type='set' id='8'><query xmlns='jabber:iq:roster'>"
            "<item jid='amy@x' subscription='remove'/></query></iq>");
}

TEST(AccountStanzas, LegacyAuthAndRegistration) {
  EXPECT_EQ(wire(build_auth_query("a1", "amy")),
            "<iq type='get' id='a1'><query xmlns='jabber:iq:auth'><username>amy</username>"
            "</query></iq>");
  EXPECT_EQ(wire(build_auth("a2", "amy", "orvik", "p%s&w", "sid", 0)),
            "<iq type='set' id='a2'><query xmlns='jabber:iq:auth'><username>amy</username>"
            "<resource>orvik</resource><password>p%s&amp;w</password></query></iq>");
  // The digest is SHA-1 of the stream id followed by the password (the example of XEP-0078).
  EXPECT_EQ(wire(build_auth("a3", nullptr, nullptr, "Calli0pe", "3EE948B0", 1)),
            "<iq type='set' id='a3'><query xmlns='jabber:iq:auth'><resource></resource>"
            "<digest>48fc78be9ec8f86d8ce1c39c320c97c21d62334d</digest></query></iq>");
  EXPECT_EQ(wire(build_register("g1", "amy", "", "pw")),
            "<iq type='set' id='g1'><query xmlns='jabber:iq:register'><username>amy</username>"
            "<resource></resource><password>pw</password></query></iq>");
  EXPECT_EQ(wire(build_register("g2", nullptr, "orvik", "")),
            "<iq type='set' id='g2'><query xmlns='jabber:iq:register'>"
            "<resource>orvik</resource></query></iq>");
  EXPECT_EQ(wire(build_register_query("aim.x", "g3")),
            "<iq type='get' id='g3' to='aim.x'><query xmlns='jabber:iq:register'/></iq>");
  EXPECT_EQ(wire(build_register_to("aim.x", "amy", "pw", "", "g4")),
            "<iq type='set' id='g4' to='aim.x'><query xmlns='jabber:iq:register'>"
            "<username>amy</username><password>pw</password></query></iq>");
  EXPECT_EQ(wire(build_register_to("aim.x", "", "", "k", "g5")),
            "<iq type='set' id='g5' to='aim.x'><query xmlns='jabber:iq:register'><key>k</key>"
            "</query></iq>");
}

TEST(NegotiationStanzas, CompressTlsSaslBindSession) {
  EXPECT_EQ(wire(build_compress()),
            "<compress xmlns='http://jabber.org/protocol/compress'><method>zlib</method>"
            "</compress>");
  EXPECT_EQ(wire(build_starttls()), "<starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>");
  EXPECT_EQ(wire(build_sasl_plain("AGFteQBwdw==")),
            "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'>AGFteQBwdw==</auth>");
  EXPECT_EQ(wire(build_bind("b1", "orvik")),
            "<iq type='set' id='b1'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'>"
            "<resource>orvik</resource></bind></iq>");
  EXPECT_EQ(wire(build_session("s1")),
            "<iq type='set' id='s1'><session xmlns='urn:ietf:params:xml:ns:xmpp-session'/></iq>");
}

TEST(DiscoveryStanzas, AgentsDiscoAndCommands) {
  EXPECT_EQ(wire(build_agents_get("d0")),
            "<iq type='get' id='d0'><query xmlns='jabber:iq:agents'/></iq>");
  EXPECT_EQ(wire(build_disco_items_server("d1", "example.org")),
            "<iq type='get' id='d1' to='example.org'>"
            "<query xmlns='http://jabber.org/protocol/disco#items'/></iq>");
  EXPECT_EQ(wire(build_disco_items("svc.x", "me@x/r", "http://jabber.org/protocol/commands",
                                   "jeci_query_id")),
            "<iq type='get' to='svc.x' from='me@x/r' id='jeci_query_id'>"
            "<query xmlns='http://jabber.org/protocol/disco#items' "
            "node='http://jabber.org/protocol/commands'/></iq>");
  EXPECT_EQ(wire(build_disco_info("aim.x", "me@x/r", "d2")),
            "<iq type='get' to='aim.x' from='me@x/r' id='d2'>"
            "<query xmlns='http://jabber.org/protocol/disco#info'/></iq>");
  EXPECT_EQ(wire(build_disco_item_update("svc", "me@x/r", "n", "d3", "update", "amy@x", "Amy")),
            "<iq type='set' to='svc' from='me@x/r' id='d3'>"
            "<item xmlns='http://jabber.org/protocol/disco#items' node='n' jid='amy@x' "
            "name='Amy' action='update'/></iq>");
  EXPECT_EQ(wire(build_command("svc", "execute", "dial", "c1")),
            "<iq type='set' to='svc' id='c1'><command xmlns='http://jabber.org/protocol/commands' "
            "action='execute' node='dial'/></iq>");
  const char* contacts[] = {"amy@x", "bob@x", nullptr};
  EXPECT_EQ(wire(build_dial("svc", "c2", "sess", contacts)),
            "<iq type='set' to='svc' id='c2'><command xmlns='http://jabber.org/protocol/commands' "
            "action='complete' node='dial' sessionid='sess'><x xmlns='jabber:x:data' "
            "type='submit'><field var='FORM_TYPE' type='hidden'><value>" NS_URI_COLLAB_DIAL
            "</value></field><field var='jids' type='jid-multi'><value>amy@x</value>"
            "<value>bob@x</value></field></x></command></iq>");
}

TEST(LocationStanzas, RemoteIpLocationAndRoutes) {
  EXPECT_EQ(wire(build_remoteip_get("amy@x/r", "i1")),
            "<iq type='get' id='i1' to='amy@x/r'><query xmlns='jabber:iq:remoteip'/></iq>");
  EXPECT_EQ(wire(build_remoteip_result("amy@x/r", "3", "192.168.1.5")),
            "<iq type='result' id='3' to='amy@x/r'><query xmlns='jabber:iq:remoteip'/>"
            "<host>192.168.1.5</host></iq>");
  EXPECT_EQ(wire(build_remoteip_result("amy@x/r", "4", nullptr)),
            "<iq type='result' id='4' to='amy@x/r'><query xmlns='jabber:iq:remoteip'/></iq>");
  EXPECT_EQ(wire(build_ilocation_get("amy@x", "i2")),
            "<iq type='get' id='i2' to='amy@x'><query xmlns='jabber:iq:ilocation'/></iq>");
  EXPECT_EQ(wire(build_route_query("route.x", "me@x/r", "amy@x", "bob@x", "q1")),
            "<iq type='get' to='route.x' from='me@x/r' id='q1'><query xmlns='" NS_URI_ROUTING
            "'><src jid='amy@x'/><dst jid='bob@x'/></query></iq>");
  route_place both{"amy@x", "1 Main St", "Town", "ST", "12345", "US"};
  route_place postal{"", "2 High St", "City", "CA", "90210", "US"};
  EXPECT_EQ(wire(build_route_query_address("route.x", "me@x/r", &both, &postal, "q2")),
            "<iq type='get' to='route.x' from='me@x/r' id='q2'><query xmlns='" NS_URI_ROUTING
            "'><src jid='amy@x'/><dst street='2 High St' city='City' state='CA' zip='90210' "
            "country='US'/></query></iq>");
}

TEST(LocationStanzas, Geoloc) {
  EXPECT_EQ(wire(build_geoloc_subscribe("lbs.x", "amy@x", "p1")),
            "<iq type='set' to='lbs.x' id='p1'><pubsub xmlns='http://jabber.org/protocol/pubsub'>"
            "<subscribe node='geoloc:amy@x' jid='amy@x'/></pubsub></iq>");
  EXPECT_EQ(
      wire(build_geoloc_publish("lbs.x", "me", "10", "-3.5", "51.2", "2024-01-01T10:00:00Z", "12")),
      "<iq type='set' id='12' to='lbs.x'><pubsub xmlns='http://jabber.org/protocol/pubsub'>"
      "<publish node='geoloc:me'><item id='12'><geoloc "
      "xmlns='http://jabber.org/protocol/geoloc'><alt>10</alt><lon>-3.5</lon>"
      "<lat>51.2</lat><timestamp>2024-01-01T10:00:00Z</timestamp></geoloc></item>"
      "</publish></pubsub></iq>");
  EXPECT_EQ(wire(build_geoloc_publish("lbs.x", "me", nullptr, "1", "2", nullptr, "13")),
            "<iq type='set' id='13' to='lbs.x'><pubsub xmlns='http://jabber.org/protocol/pubsub'>"
            "<publish node='geoloc:me'><item id='13'><geoloc "
            "xmlns='http://jabber.org/protocol/geoloc'><lon>1</lon><lat>2</lat></geoloc></item>"
            "</publish></pubsub></iq>");
  EXPECT_EQ(wire(build_geoloc_result("amy@x/r", "5", "1", "2", "3", 60, "T")),
            "<iq type='result' id='5' to='amy@x/r'><query "
            "xmlns='http://jabber.org/protocol/geoloc'/><geoloc><alt>1</alt><lon>2</lon>"
            "<lat>3</lat><error>0</error><lifetime>60</lifetime><timestamp>T</timestamp>"
            "</geoloc></iq>");
  EXPECT_EQ(wire(build_geoloc_result("amy@x/r", "6", nullptr, nullptr, nullptr, 0, nullptr)),
            "<iq type='result' id='6' to='amy@x/r'><query "
            "xmlns='http://jabber.org/protocol/geoloc'/><geoloc><error>0</error></geoloc></iq>");
}

TEST(PubsubStanzas, NodesAndAuthorization) {
  const char* ps = "<pubsub xmlns='http://jabber.org/protocol/pubsub'>";
  EXPECT_EQ(wire(build_pubsub_create("ps.x", "me@x/r", "n1", "u1")),
            std::string("<iq type='set' to='ps.x' from='me@x/r' id='u1'>") + ps +
                "<create node='n1'/></pubsub></iq>");
  EXPECT_EQ(wire(build_pubsub_create_instant("ps.x", "me@x/r", "u2")),
            std::string("<iq type='set' to='ps.x' from='me@x/r' id='u2'>") + ps +
                "<create/></pubsub></iq>");
  EXPECT_EQ(wire(build_pubsub_delete("ps.x", "me@x/r", "n1", "u3")),
            std::string("<iq type='set' to='ps.x' from='me@x/r' id='u3'>") + ps +
                "<delete node='n1'/></pubsub></iq>");
  EXPECT_EQ(wire(build_pubsub_items_get("ps.x", "me@x/r", "geoloc:amy@x", "u4")),
            std::string("<iq type='get' to='ps.x' from='me@x/r' id='u4'>") + ps +
                "<items node='geoloc:amy@x'/></pubsub></iq>");
  EXPECT_EQ(wire(build_pubsub_authorization("ps.x", "me@x/r", "n1", "amy@x", "submit")),
            "<message to='ps.x' from='me@x/r'><x xmlns='jabber:x:data' type='submit'>"
            "<field var='FORM_TYPE'><value>http://jabber.org/protocol/pubsub</value></field>"
            "<field var='node'><value>n1</value></field>"
            "<field var='jid'><value>amy@x</value></field></x></message>");
  EXPECT_EQ(wire(build_pubsub_get_pending("ps.x", "me@x/r")),
            "<message type='chat' to='ps.x' from='me@x/r'>"
            "<x xmlns='http://jabber.org/protocol/pubsub#owner' action='get-pending'/></message>");
}

}  // namespace
