// A stanza reads the same whatever its indentation: each shape, compact and pretty-printed
// (a line break and blanks between every two tags), gives the same subtype and fields.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/xml/packet_harness.h"
#include "xml/namespaces.h"
#include "xml/packet_lists.h"

namespace {

// The compact text with "\n  " between every two adjacent tags.
std::string Indented(const std::string& compact) {
  std::string out;
  for (size_t i = 0; i < compact.size(); ++i) {
    out += compact[i];
    if (compact[i] == '>' && i + 1 < compact.size() && compact[i + 1] == '<')
      out += "\n  ";
  }
  return out;
}

std::string Geoloc(packet* p) {
  char alt[16], lon[16], lat[16], ts[32], sender[64];
  packet_geoloc_event(p, {alt, sizeof alt}, {lon, sizeof lon}, {lat, sizeof lat}, {ts, sizeof ts},
                      {sender, sizeof sender});
  return std::string(alt) + "|" + lon + "|" + lat + "|" + ts + "|" + sender;
}

std::string Error(packet* p) {
  int32_t code = 0;
  char text[64];
  packet_error(p, &code, {text, sizeof text});
  return std::to_string(code) + "|" + text;
}

std::string Route(packet* p) {
  char s[ROUTE_FIELDS][32], d[ROUTE_FIELDS][32];
  field_buf src[ROUTE_FIELDS], dst[ROUTE_FIELDS];
  for (int i = 0; i < ROUTE_FIELDS; ++i) {
    src[i] = {s[i], sizeof s[i]};
    dst[i] = {d[i], sizeof d[i]};
  }
  text_rec* segments = packet_route(p, src, dst);
  std::string out = std::string(s[ROUTE_JID]) + ">" + d[ROUTE_JID];
  for (text_rec* r = segments; r; r = r->next)
    out += std::string("|") + r->text;
  text_list_free(segments);
  return out;
}

std::string Session(packet* p) {
  char session[32];
  packet_command_session(p, {session, sizeof session});
  return session;
}

struct Shape {
  const char* name;
  std::string stanza;
  int subtype;
  std::function<std::string(packet*)> fields;
  std::string expected;
};

TEST(IndentedStanza, ReadsLikeTheCompactOne) {
  const Shape shapes[] = {
      {"pubsub geoloc event",
       "<message from='pubsub.example.org'><event xmlns='" NS_URI_PUBSUB_EVENT
       "'><items node='geoloc:bob'><item id='1'><geoloc xmlns='" NS_URI_GEOLOC
       "'><alt>12</alt><lon>-3.5</lon><lat>51.2</lat><timestamp>T</timestamp></geoloc></item>"
       "</items></event><addresses xmlns='http://jabber.org/protocol/address'>"
       "<address jid='bob@example.org/phone'/></addresses></message>",
       SUBTYPE_GEOLOC, Geoloc, "12|-3.5|51.2|T|bob@example.org/phone"},
      {"error inside the payload",
       "<iq type='error' id='c1'><command xmlns='" NS_URI_COMMANDS
       "'><error code='406' type='modify'><bad-request xmlns='"
       "urn:ietf:params:xml:ns:xmpp-stanzas'/></error></command><text>Bad dial</text></iq>",
       SUBTYPE_ERROR, Error, "406|Bad dial"},
      {"error after the echoed payload",
       "<iq type='error' id='r1'><query xmlns='jabber:iq:register'/><error code='409' "
       "type='cancel'><conflict xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'/><text "
       "xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'>Taken</text></error></iq>",
       SUBTYPE_ERROR, Error, "409|Taken"},
      {"registration key",
       "<iq type='result' id='k'><query xmlns='jabber:iq:register'><username/>"
       "<key>abc123</key></query></iq>",
       SUBTYPE_RESULT, packet_key, "abc123"},
      {"command session",
       "<iq type='result'><x><command xmlns='" NS_URI_COMMANDS "' sessionid='s-1'/></x></iq>",
       SUBTYPE_RESULT, Session, "s-1"},
      {"route",
       "<iq type='result'><query xmlns='" NS_URI_ROUTING
       "'><src jid='a@b'/><dst jid='c@d'/><segment>Go north</segment><segment>Turn left"
       "</segment><end/><segment>never</segment></query></iq>",
       SUBTYPE_RESULT, Route, "a@b>c@d|Go north|Turn left"},
      {"conference invitation",
       "<message from='room@muc.example.org'><x xmlns='" NS_URI_MUC_USER
       "'><invite from='bob@example.org'><reason>Join</reason></invite></x></message>",
       SUBTYPE_MUC_INVITE, packet_from, "room@muc.example.org"},
      {"chat", "<message type='chat' from='bob@example.org'><body>Hi</body></message>",
       SUBTYPE_CHAT, packet_body, "Hi"},
  };
  for (const Shape& shape : shapes) {
    for (const std::string& text : {shape.stanza, Indented(shape.stanza)}) {
      WithPacket(text, [&](packet* p) {
        EXPECT_EQ(shape.subtype, packet_subtype(p)) << shape.name << "\n" << text;
        EXPECT_EQ(shape.expected, shape.fields(p)) << shape.name << "\n" << text;
      });
    }
  }
}

}  // namespace
