#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/xml/packet_harness.h"
#include "xml/namespaces.h"
#include "xml/packet_lists.h"

namespace {

template <size_t N>
field_buf buf(char (&text)[N]) {
  std::memset(text, 'Z', N);  // proves every extractor clears or fills it
  return {text, N};
}

TEST(PacketText, ChildTextsAndAttributesOrEmpty) {
  WithPacket(
      "<message from='a@b/c' id='m1'><subject>S</subject><thread>T</thread><body>B &amp; C</body>"
      "<show>away</show><status>out</status><host>10.0.0.1</host></message>",
      [](packet* p) {
        EXPECT_STREQ(packet_from(p), "a@b/c");
        EXPECT_STREQ(packet_id(p), "m1");
        EXPECT_STREQ(packet_subject(p), "S");
        EXPECT_STREQ(packet_thread(p), "T");
        EXPECT_STREQ(packet_body(p), "B & C");
        EXPECT_STREQ(packet_show(p), "away");
        EXPECT_STREQ(packet_status(p), "out");
        EXPECT_STREQ(packet_host(p), "10.0.0.1");
      });
  WithPacket("<message><body/></message>", [](packet* p) {
    EXPECT_STREQ(packet_from(p), "");
    EXPECT_STREQ(packet_id(p), "");
    EXPECT_STREQ(packet_body(p), "");
    EXPECT_STREQ(packet_key(p), "");
  });
  EXPECT_STREQ(packet_body(nullptr), "");
}

TEST(PacketText, KeyIsInsideTheFirstChild) {
  WithPacket("<iq><query xmlns='" NS_URI_REGISTER "'><username/><key>k123</key></query></iq>",
             [](packet* p) { EXPECT_STREQ(packet_key(p), "k123"); });
}

TEST(PacketFlags, StreamFeatures) {
  WithPacket(
      "<stream:features><starttls xmlns='" NS_URI_TLS
      "'/>"
      "<compression xmlns='http://jabber.org/features/compress'><method>zlib</method></compression>"
      "<mechanisms xmlns='" NS_URI_SASL
      "'><mechanism>SCRAM-SHA-1</mechanism>"
      "<mechanism>PLAIN</mechanism></mechanisms></stream:features>",
      [](packet* p) {
        EXPECT_EQ(packet_features(p), FEATURE_STARTTLS | FEATURE_COMPRESSION | FEATURE_SASL_PLAIN);
      });
  WithPacket("<stream:features><bind xmlns='" NS_URI_BIND "'/><session/></stream:features>",
             [](packet* p) { EXPECT_EQ(packet_features(p), FEATURE_BIND); });
  // The mechanism list stops at the first one without text.
  WithPacket(
      "<stream:features><mechanisms><mechanism>X</mechanism><mechanism/>"
      "<mechanism>PLAIN</mechanism></mechanisms></stream:features>",
      [](packet* p) { EXPECT_EQ(packet_features(p), 0); });
}

TEST(PacketFlags, AuthFields) {
  WithPacket("<iq type='result'><query xmlns='" NS_URI_AUTH
             "'><username/><password/><digest/>"
             "<resource/></query></iq>",
             [](packet* p) { EXPECT_EQ(packet_auth_fields(p), AUTH_DIGEST | AUTH_PASSWORD); });
  WithPacket("<iq type='result'><query xmlns='" NS_URI_AUTH "'><password/></query></iq>",
             [](packet* p) { EXPECT_EQ(packet_auth_fields(p), AUTH_PASSWORD); });
}

TEST(PacketError, CodeAndText) {
  WithPacket(
      "<iq type='error'><query/><error code='409' type='cancel'><conflict/>"
      "<text xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'>Taken</text></error></iq>",
      [](packet* p) {
        int32_t code = -1;
        char text[64];
        packet_error(p, &code, buf(text));
        EXPECT_EQ(code, 409);
        EXPECT_STREQ(text, "Taken");  // found inside the error behind the payload
      });
  WithPacket("<iq type='error'><error code='500'/><query><text>near</text></query></iq>",
             [](packet* p) {
               int32_t code = -1;
               char text[64];
               packet_error(p, &code, buf(text));
               EXPECT_EQ(code, 500);
               EXPECT_STREQ(text, "");  // not on the first-child chain of the root
             });
  WithPacket("<iq type='error'><error type='cancel'><text>no code</text></error></iq>",
             [](packet* p) {
               int32_t code = -1;
               char text[64];
               packet_error(p, &code, buf(text));
               EXPECT_EQ(code, 0);
               EXPECT_STREQ(text, "");
             });
}

TEST(PacketFields, CopiesAreBoundedAtCharacterBoundaries) {
  WithPacket(
      "<iq type='error'><error code='99999999999'><text>h\xc3\xa9llo world</text></error></iq>",
      [](packet* p) {
        int32_t code = 0;
        char text[3];  // "h" + half of the e-acute would not fit: only "h"
        packet_error(p, &code, buf(text));
        EXPECT_EQ(code, INT32_MAX);
        EXPECT_STREQ(text, "h");
        char four[4];
        packet_error(p, &code, buf(four));
        EXPECT_STREQ(four, "h\xc3\xa9");
        packet_error(p, &code, field_buf{nullptr, 0});  // takes nothing, harmlessly
        char none[1];
        packet_error(p, &code, buf(none));
        EXPECT_STREQ(none, "");
      });
}

TEST(PacketFields, ConferencePresence) {
  WithPacket(
      "<presence from='room@muc/nick'><show>dnd</show>"
      "<x xmlns='" NS_URI_MUC_USER
      "'><item affiliation='owner' role='moderator'/></x>"
      "</presence>",
      [](packet* p) {
        char type[16], role[16], affiliation[16], show[16];
        EXPECT_EQ(packet_muc_presence(p, buf(type), buf(role), buf(affiliation), buf(show)), 1);
        EXPECT_STREQ(type, "available");
        EXPECT_STREQ(role, "moderator");
        EXPECT_STREQ(affiliation, "owner");
        EXPECT_STREQ(show, "dnd");
      });
  WithPacket("<presence type='unavailable'><x xmlns='" NS_URI_MUC_USER "'/></presence>",
             [](packet* p) {
               char type[8], role[8], affiliation[8], show[8];
               packet_muc_presence(p, buf(type), buf(role), buf(affiliation), buf(show));
               EXPECT_STREQ(type, "unavail");  // cut to the buffer
               EXPECT_STREQ(role, "");
               EXPECT_STREQ(affiliation, "");
               EXPECT_STREQ(show, "");
             });
}

TEST(PacketFields, GeolocEvent) {
  WithPacket("<message from='pubsub.example.org'><event xmlns='" NS_URI_PUBSUB_EVENT
             "'>"
             "<items node='geoloc:bob'><item id='1'><geoloc xmlns='" NS_URI_GEOLOC
             "'>"
             "<alt>12</alt><lon>-3.5</lon><lat>51.2</lat><timestamp>2024-01-01T10:00:00Z"
             "</timestamp></geoloc></item></items></event>"
             "<addresses xmlns='http://jabber.org/protocol/address'>"
             "<address type='replyto' jid='bob@example.org/phone'/></addresses></message>",
             [](packet* p) {
               char alt[16], lon[16], lat[16], ts[32], sender[64];
               packet_geoloc_event(p, buf(alt), buf(lon), buf(lat), buf(ts), buf(sender));
               EXPECT_STREQ(alt, "12");
               EXPECT_STREQ(lon, "-3.5");
               EXPECT_STREQ(lat, "51.2");
               EXPECT_STREQ(ts, "2024-01-01T10:00:00Z");
               EXPECT_STREQ(sender, "bob@example.org/phone");
             });
  WithPacket("<message><event><items/></event></message>", [](packet* p) {
    char alt[16], lon[16], lat[16], ts[32], sender[64];
    packet_geoloc_event(p, buf(alt), buf(lon), buf(lat), buf(ts), buf(sender));
    EXPECT_STREQ(alt, "");
    EXPECT_STREQ(sender, "");
  });
}

TEST(PacketFields, GeolocItemsNeedTheGeolocPrefixInTheItemId) {
  WithPacket("<iq type='result'><pubsub xmlns='" NS_URI_PUBSUB
             "'><items node='geoloc:amy'>"
             "<item id='x-geoloc:amy@example.org'><geoloc xmlns='" NS_URI_GEOLOC
             "'><lat>1</lat>"
             "<lon>2</lon></geoloc></item></items></pubsub></iq>",
             [](packet* p) {
               char alt[16], lon[16], lat[16], ts[32], owner[64];
               packet_geoloc_items(p, buf(alt), buf(lon), buf(lat), buf(ts), buf(owner));
               EXPECT_STREQ(owner, "amy@example.org");
               EXPECT_STREQ(lat, "1");
               EXPECT_STREQ(lon, "2");
               EXPECT_STREQ(alt, "");
               EXPECT_STREQ(ts, "");
             });
  WithPacket(
      "<iq><pubsub><items><item id='7'><geoloc><lat>1</lat></geoloc></item></items>"
      "</pubsub></iq>",
      [](packet* p) {
        char alt[16], lon[16], lat[16], ts[32], owner[64];
        packet_geoloc_items(p, buf(alt), buf(lon), buf(lat), buf(ts), buf(owner));
        EXPECT_STREQ(owner, "");
        EXPECT_STREQ(lat, "");
      });
}

TEST(PacketFields, CommandSession) {
  WithPacket("<iq type='result'><x><command xmlns='" NS_URI_COMMANDS "' sessionid='s-1'/></x></iq>",
             [](packet* p) {
               char session[32];
               EXPECT_EQ(packet_command_session(p, buf(session)), session);
               EXPECT_STREQ(session, "s-1");
             });
  // Directly under the iq, as the commands protocol puts it, it is not found.
  WithPacket("<iq type='result'><command xmlns='" NS_URI_COMMANDS "' sessionid='s-1'/></iq>",
             [](packet* p) {
               char session[32];
               EXPECT_EQ(packet_command_session(p, buf(session)), nullptr);
               EXPECT_STREQ(session, "");
             });
}

TEST(PacketLists, AgentsInDocumentOrder) {
  WithPacket("<iq type='result'><query xmlns='" NS_URI_AGENTS
             "'>"
             "<agent jid='aim.example.org'><name>AIM</name><service>aim</service></agent>\n"
             "<agent jid='icq.example.org'><description>ICQ</description></agent></query></iq>",
             [](packet* p) {
               agent_rec* list = packet_agents(packet_query(p));
               ASSERT_NE(list, nullptr);
               EXPECT_STREQ(list->jid, "aim.example.org");
               EXPECT_STREQ(list->name, "AIM");
               EXPECT_STREQ(list->service, "aim");
               EXPECT_EQ(list->description, nullptr);
               ASSERT_NE(list->next, nullptr);
               EXPECT_STREQ(list->next->description, "ICQ");
               EXPECT_EQ(list->next->next, nullptr);
               agent_list_free(list);
             });
}

TEST(PacketLists, RosterItemsWithGroupAttributeOrChild) {
  WithPacket("<iq type='result'><query xmlns='" NS_URI_ROSTER
             "'>"
             "<item jid='a@b' name='Amy' subscription='both'><group>Friends &amp;amp; Co</group>"
             "</item><item jid='c@d' group='Work' ask='subscribe'/><item jid='e@f'/></query></iq>",
             [](packet* p) {
               roster_item_rec* list = packet_roster_items(packet_query(p));
               ASSERT_NE(list, nullptr);
               EXPECT_STREQ(list->jid, "a@b");
               EXPECT_STREQ(list->name, "Amy");
               EXPECT_STREQ(list->subscription, "both");
               EXPECT_STREQ(list->group, "Friends & Co");  // unescaped once more
               EXPECT_EQ(list->ask, nullptr);
               ASSERT_NE(list->next, nullptr);
               EXPECT_STREQ(list->next->group, "Work");
               EXPECT_STREQ(list->next->ask, "subscribe");
               EXPECT_EQ(list->next->name, nullptr);
               ASSERT_NE(list->next->next, nullptr);
               EXPECT_EQ(list->next->next->group, nullptr);
               roster_item_list_free(list);
             });
}

TEST(PacketLists, DiscoItemsAreConsecutiveItemsFollowedByTheGivenList) {
  auto* old = static_cast<disco_item_rec*>(calloc(1, sizeof(disco_item_rec)));
  old->jid = strdup("old");
  WithPacket("<iq type='result'><query xmlns='" NS_URI_DISCO_ITEMS
             "'>"
             "<item jid='one' name='One'/><item jid='two'/><other/><item jid='three'/>"
             "</query></iq>",
             [&](packet* p) {
               disco_item_rec* list = packet_disco_items(p, old);
               ASSERT_NE(list, nullptr);
               EXPECT_STREQ(list->jid, "one");
               EXPECT_STREQ(list->name, "One");
               EXPECT_STREQ(list->next->jid, "two");
               EXPECT_EQ(list->next->next, old);
               old = list;
             });
  WithPacket("<iq type='result'><query xmlns='" NS_URI_DISCO_ITEMS "'/></iq>",
             [&](packet* p) { EXPECT_EQ(packet_disco_items(p, old), old); });
  disco_item_list_free(old);
}

TEST(PacketLists, DiscoInfoFeaturesInReverseOrder) {
  WithPacket("<iq type='result' from='aim.example.org'><query xmlns='" NS_URI_DISCO_INFO
             "'>"
             "<identity category='gateway' type='aim' name='AIM'/>"
             "<feature var='a'/><feature var='b'/><feature var='c'/></query></iq>",
             [](packet* p) {
               disco_info_rec* info = packet_disco_info(p);
               EXPECT_STREQ(info->from, "aim.example.org");
               EXPECT_STREQ(info->type, "aim");
               EXPECT_STREQ(info->category, "gateway");
               ASSERT_NE(info->features, nullptr);
               EXPECT_STREQ(info->features->text, "c");
               EXPECT_STREQ(info->features->next->text, "b");
               EXPECT_STREQ(info->features->next->next->text, "a");
               EXPECT_EQ(info->features->next->next->next, nullptr);
               disco_info_free(info);
             });
  WithPacket("<iq type='result'><query/></iq>", [](packet* p) {
    disco_info_rec* info = packet_disco_info(p);
    EXPECT_STREQ(info->from, "");
    EXPECT_EQ(info->type, nullptr);
    EXPECT_EQ(info->features, nullptr);
    disco_info_free(info);
  });
}

TEST(PacketLists, RouteEndpointsAndSegments) {
  WithPacket("<iq type='result'><query xmlns='" NS_URI_ROUTING
             "'>"
             "<src jid='a@b'/><dst street='1 Main St' city='Town' state='ST' zip='12345' "
             "country='US'/><segment>Go north</segment><segment>Turn left</segment><end/>"
             "<segment>never</segment></query></iq>",
             [](packet* p) {
               char s[ROUTE_FIELDS][32], d[ROUTE_FIELDS][32];
               field_buf src[ROUTE_FIELDS], dst[ROUTE_FIELDS];
               for (int i = 0; i < ROUTE_FIELDS; ++i) {
                 src[i] = buf(s[i]);
                 dst[i] = buf(d[i]);
               }
               text_rec* segments = packet_route(p, src, dst);
               EXPECT_STREQ(s[ROUTE_JID], "a@b");
               EXPECT_STREQ(s[ROUTE_CITY], "");
               EXPECT_STREQ(d[ROUTE_JID], "");
               EXPECT_STREQ(d[ROUTE_STREET], "1 Main St");
               EXPECT_STREQ(d[ROUTE_COUNTRY], "US");
               ASSERT_NE(segments, nullptr);
               EXPECT_STREQ(segments->text, "Go north");
               ASSERT_NE(segments->next, nullptr);
               EXPECT_STREQ(segments->next->text, "Turn left");
               EXPECT_EQ(segments->next->next, nullptr);
               text_list_free(segments);
             });
  WithPacket("<iq><query><src jid='a@b'/><segment>x</segment></query></iq>", [](packet* p) {
    char s[ROUTE_FIELDS][8], d[ROUTE_FIELDS][8];
    field_buf src[ROUTE_FIELDS], dst[ROUTE_FIELDS];
    for (int i = 0; i < ROUTE_FIELDS; ++i) {
      src[i] = buf(s[i]);
      dst[i] = buf(d[i]);
    }
    EXPECT_EQ(packet_route(p, src, dst), nullptr);  // no destination
    EXPECT_STREQ(s[ROUTE_JID], "a@b");
    EXPECT_STREQ(d[ROUTE_ZIP], "");
  });
}

}  // namespace
