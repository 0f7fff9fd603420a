// Presence stanzas and the conference invitation.
#include <cstdio>

#include "xml/namespaces.h"
#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xml/stanza_parts.h"

xml_node* build_own_presence(const char* status, const char* show, int priority) {
  xml_node* presence = build_presence(-1, nullptr, status, show);
  xml_node* caps = put_ns_child(presence, "c", NS_URI_CAPS);
  xml_node_put_attrib(caps, "node", CLIENT_CAPS_NODE);
  xml_node_put_attrib(caps, "ver", CLIENT_CAPS_VER);
  xml_node_put_attrib(caps, "ext", CLIENT_CAPS_EXT);
  char text[16];
  std::snprintf(text, sizeof text, "%d", priority);
  add_priority(presence, text);
  return presence;
}

xml_node* build_muc_join(const char* room_nick, const char* from, const char* password) {
  xml_node* presence = build_presence(-1, room_nick, nullptr, nullptr);
  xml_node_put_attrib(presence, "from", from);
  xml_node* x = put_ns_child(presence, "x", NS_URI_MUC);
  put_text_child_if_not_empty(x, "password", password);
  return presence;
}

xml_node* build_muc_leave(const char* room_nick, const char* from) {
  xml_node* presence = build_presence(SUBTYPE_UNAVAILABLE, room_nick, nullptr, nullptr);
  xml_node_put_attrib(presence, "from", from);
  return presence;
}

xml_node* build_muc_invite(const char* room, const char* invitee, const char* reason) {
  xml_node* message = build_message(nullptr, room, nullptr, nullptr, nullptr);
  xml_node* x = put_ns_child(message, "x", NS_URI_MUC_USER);
  if (!is_empty(invitee)) {
    xml_node* invite = xml_node_insert_tag(x, "invite");
    xml_node_put_attrib(invite, "to", invitee);
    put_text_child_if_not_empty(invite, "reason", reason);
  }
  return message;
}
