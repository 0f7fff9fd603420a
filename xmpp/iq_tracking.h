// IQ requests and their answers. Each tracked request gets a fresh id (xml/iq_id.h), is
// remembered as a PendingIq with a tag saying what its answer means, and is forgotten when
// the answer arrives. An answer counts only when it comes from the address the request went
// to: for the user's own server, no `from`, the server's domain or the own bare address.
#pragma once

#include "xml/packet.h"
#include "xml/stanza_builders.h"
#include "xmpp/session.h"

// Tags of requests that are not named by a namespace.
constexpr const char* TAG_TRANSPORT_REGISTER = "transport_register";
constexpr const char* TAG_DISCO_ITEMS = "disco_agent_item_query";
constexpr const char* TAG_DISCO_INFO = "disco_agent_info_query";
constexpr const char* TAG_AGENTS = "iq_agent_query";
constexpr const char* TAG_DIAL = "adhoc_dial_command";
constexpr const char* TAG_PUBSUB_ITEMS = "pubsub_node_items_query";
// The id of the (untracked) commands discovery request sent to the collaboration service.
constexpr const char* COLLAB_QUERY_ID = "jeci_query_id";

// --- the pending list ---
void pending_add(MJabberSession* session, const char* target, const char* id, const char* tag);
// Removes and returns (in *found) the first record with this id whose target the packet's
// sender matches. False when there is none.
bool pending_take(MJabberSession* session, packet* p, PendingIq* found);
void pending_clear(MJabberSession* session);
size_t pending_count(MJabberSession* session);
// Whether `from` (a packet's `from`, "" when absent) is the address `target` stands for.
bool iq_sender_matches(MJabberSession* session, const char* from, const char* target);
// Whether the packet comes from the user's own server (no from, the domain or the bare JID).
bool from_own_server(MJabberSession* session, packet* p);

// --- answers ---
void iq_result(MJabberSession* session, packet* p);
void iq_error(MJabberSession* session, packet* p);

// --- tracked requests ---
// The id for a request bound to `text` (the own full address unless said), copied.
mstring iq_new_id(const char* text);
int request_roster(MJabberSession* session);
int request_bind(MJabberSession* session);
int request_session(MJabberSession* session);
int request_auth_query(MJabberSession* session);
int request_auth(MJabberSession* session, int use_digest);
int request_register(MJabberSession* session);
// A gateway's registration form (the first step of connecting a gateway account).
int request_register_form(MJabberSession* session, const char* gateway);
int request_register_to(MJabberSession* session, const char* gateway, const char* user_name,
                        const char* password, const char* key);
int request_agents(MJabberSession* session);
int request_disco_items(MJabberSession* session);
int request_disco_info(MJabberSession* session, const char* item);
// The dial command to the collaboration service; refused with a message box before the
// service has been discovered.
int request_dial(MJabberSession* session);
// The dial itself with the contacts the user chose (not tracked).
int send_dial(MJabberSession* session, const char* session_id, const char* const* contacts);
int request_remoteip(MJabberSession* session, const char* contact);
int request_ilocation(MJabberSession* session, const char* contact);
// A contact's position from the location service ("LBS JID"), node "geoloc:" + contact.
int request_contact_location(MJabberSession* session, const char* contact);
int request_geoloc_subscribe(MJabberSession* session, const char* contact);
int request_route(MJabberSession* session, const char* service, const char* source,
                  const char* destination);
int request_route_address(MJabberSession* session, const char* service, const route_place* source,
                          const route_place* destination);

// --- the external voice application ---
// Hands a contact's address to the voice application (asking the user for the host when it
// is missing); a message box when the program cannot be started.
void phone_launch(MJabberSession* session, const char* host, const char* contact);
// The incoming request `id` for our address: starts the voice application to answer, sends our
// address back (under the request's id) and flushes the deferred queue.
void answer_remoteip_request(MJabberSession* session, const char* from, const char* id);
