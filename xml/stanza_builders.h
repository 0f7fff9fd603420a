// Builders of every stanza the client sends. Each returns a new tree in its own pool; the
// caller serialises it (xml_node_to_string), sends it and frees it (xml_node_free).
//
// Attributes serialise in the order they are put and children in the order they are inserted,
// so the orders below are part of the wire format. "Given" means non-null; where a value must
// also be non-empty the comment says so. An absent optional value produces nothing.
#pragma once

#include "xml/xml_node.h"

// --- basic builders ---

// <presence type? to?><status/>?<show/>?</presence>: type from a presence SUBTYPE_* code
// (other codes give none); status when given; show when given and not empty.
xml_node* build_presence(int type_code, const char* to, const char* status, const char* show);
// Appends <priority>text</priority>.
void add_priority(xml_node* presence, const char* text);
// <iq type?><child xmlns?/></iq>: type from an IQ SUBTYPE_* code (other codes give none).
xml_node* build_iq(int type_code, const char* ns, const char* child_name);
// <message type? to?><subject/>?<thread/>?<body/>?</message>, each only when not empty.
xml_node* build_message(const char* type, const char* to, const char* subject, const char* body,
                        const char* thread);
// <stream:stream xmlns:stream version='1.0' xmlns to>; null when either argument is missing.
xml_node* build_stream_header(const char* ns, const char* server);
// The stream header as sent: the opening tag only (its first "/>" becomes ">"), in the
// header's pool.
char* stream_header_text(xml_node* header);

// --- presence ---

// The own presence with client capabilities and priority.
xml_node* build_own_presence(const char* status, const char* show, int priority);
// Joining a room (`room_nick` is room@service/nick); the password child only when not empty.
xml_node* build_muc_join(const char* room_nick, const char* from, const char* password);
xml_node* build_muc_leave(const char* room_nick, const char* from);

// --- roster and account ---

xml_node* build_roster_get(const char* id);
xml_node* build_roster_set(const char* group, const char* contact, const char* name,
                           const char* id = nullptr);
// `id` is the connection's numeric id; name only when not empty.
xml_node* build_roster_remove(const char* group, const char* contact, const char* name,
                              const char* id);
xml_node* build_auth_query(const char* id, const char* user);
// The legacy authentication set: username (when given), resource (always), then the digest
// (SHA-1 of stream id and password) when use_digest is 1, else the password in clear.
xml_node* build_auth(const char* id, const char* user, const char* resource, const char* password,
                     const char* stream_id, int use_digest);
xml_node* build_register(const char* id, const char* user, const char* resource,
                         const char* password);
xml_node* build_register_query(const char* to, const char* id);
xml_node* build_register_to(const char* to, const char* user_name, const char* password,
                            const char* key, const char* id);

// --- discovery, agents, commands ---

xml_node* build_agents_get(const char* id);
xml_node* build_disco_items_server(const char* id, const char* server);
xml_node* build_disco_items(const char* to, const char* from, const char* node, const char* id);
xml_node* build_disco_info(const char* to, const char* from, const char* id);
xml_node* build_disco_item_update(const char* to, const char* from, const char* node,
                                  const char* id, const char* action, const char* contact,
                                  const char* name);
xml_node* build_command(const char* to, const char* action, const char* node, const char* id);
// One value per contact of the null-terminated list.
xml_node* build_dial(const char* to, const char* id, const char* session_id,
                     const char* const* contacts);

// --- remote address and location ---

xml_node* build_remoteip_get(const char* to, const char* id);
// `host` is the device's own IPv4 address; the host child is left out when it is null.
xml_node* build_remoteip_result(const char* to, const char* id, const char* host);
xml_node* build_ilocation_get(const char* to, const char* id);
xml_node* build_geoloc_subscribe(const char* to, const char* contact, const char* id);
// `user` is the user part of the own address; `id` is used for the iq and for the item.
xml_node* build_geoloc_publish(const char* to, const char* user, const char* alt, const char* lon,
                               const char* lat, const char* timestamp, const char* id);
xml_node* build_geoloc_result(const char* to, const char* id, const char* alt, const char* lon,
                              const char* lat, unsigned lifetime, const char* timestamp);

// One end of a route: a contact address, or (when that is empty) a postal address.
struct route_place {
  const char* contact;
  const char* street;
  const char* city;
  const char* state;
  const char* zip;
  const char* country;
};
xml_node* build_route_query(const char* to, const char* from, const char* source,
                            const char* destination, const char* id);
xml_node* build_route_query_address(const char* to, const char* from, const route_place* source,
                                    const route_place* destination, const char* id);

// --- publish-subscribe ---

xml_node* build_pubsub_create(const char* to, const char* from, const char* node, const char* id);
xml_node* build_pubsub_create_instant(const char* to, const char* from, const char* id);
xml_node* build_pubsub_delete(const char* to, const char* from, const char* node, const char* id);
xml_node* build_pubsub_items_get(const char* to, const char* from, const char* node,
                                 const char* id);
xml_node* build_pubsub_authorization(const char* to, const char* from, const char* node,
                                     const char* contact, const char* form_type);
xml_node* build_pubsub_get_pending(const char* to, const char* from);

// --- conference invitation ---

xml_node* build_muc_invite(const char* room, const char* invitee, const char* reason);

// --- answers to requests from others ---

// <iq type='result' to? id/>: the empty answer (a ping's); `to` only when not empty.
xml_node* build_iq_result(const char* to, const char* id);
// <iq type='error' to? id><error type><condition xmlns=stanzas/></error></iq>.
xml_node* build_iq_error(const char* to, const char* id, const char* error_type,
                         const char* condition);
struct disco_identity {
  const char* category;
  const char* type;
  const char* name;
};
// The service discovery information result: the request's node (when not empty), the
// identity, then one feature per text of the null-terminated list.
xml_node* build_disco_info_result(const char* to, const char* id, const char* node,
                                  const disco_identity* identity, const char* const* features);

// --- stream negotiation ---

xml_node* build_compress();
xml_node* build_starttls();
xml_node* build_sasl_plain(const char* encoded);
xml_node* build_bind(const char* id, const char* resource);
xml_node* build_session(const char* id);
