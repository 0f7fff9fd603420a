// The sending operations of the stanza builders: each builds its stanza (xml/stanza_builders.h),
// sends it through the connection and frees it. All send without deferral except the own
// presence. Ids of tracked requests are the caller's (iq_tracking.h); "numeric id" means the
// connection's next stanza id.
#pragma once

#include "xml/stanza_builders.h"
#include "xmpp/jconn.h"

// Sends `node` (deferrable as given) and frees it. -1 when it was not sent.
int jab_send_built(jconn* c, xml_node* node, int deferrable);
// The id of an answer: the request's own id, or the connection's next numeric id when the
// request carried none (an answer must always carry one).
const char* jab_answer_id(jconn* c, const char* request_id);

int jab_send_presence(jconn* c, int type_code, const char* to, const char* status,
                      const char* show);
// Deferral allowed.
int jab_send_own_presence(jconn* c, const char* status, const char* show, int priority);
// The roster set with the item, then the presence "subscribe".
int jab_send_subscribe(jconn* c, const char* group, const char* contact, const char* name);
int jab_send_message(jconn* c, const char* type, const char* to, const char* subject,
                     const char* body, const char* thread);
int jab_send_roster_get(jconn* c, const char* id);
int jab_send_roster_set(jconn* c, const char* group, const char* contact, const char* name);
int jab_send_roster_remove(jconn* c, const char* group, const char* contact, const char* name);
int jab_send_auth_query(jconn* c, const char* id);
// The legacy authentication set for the connection's user, "orvik" resource and password.
int jab_send_auth(jconn* c, int use_digest, const char* id);
int jab_send_register(jconn* c, const char* id);
int jab_send_register_query(jconn* c, const char* to, const char* id);
int jab_send_register_to(jconn* c, const char* to, const char* user_name, const char* password,
                         const char* key, const char* id);
int jab_send_agents_get(jconn* c, const char* id);
int jab_send_disco_items_server(jconn* c, const char* id);
int jab_send_disco_items(jconn* c, const char* to, const char* from, const char* node,
                         const char* id);
int jab_send_disco_info(jconn* c, const char* to, const char* from, const char* id);
int jab_send_disco_item_update(jconn* c, const char* to, const char* from, const char* node,
                               const char* id, const char* action, const char* contact,
                               const char* name);
int jab_send_remoteip_get(jconn* c, const char* to, const char* id);
// The answer to request `id` carries this machine's own IPv4 address (left out when it cannot
// be found).
int jab_send_remoteip_result(jconn* c, const char* to, const char* id);
int jab_send_ilocation_get(jconn* c, const char* to, const char* id);
int jab_send_geoloc_subscribe(jconn* c, const char* to, const char* contact, const char* id);
int jab_send_geoloc_publish(jconn* c, const char* to, const char* alt, const char* lon,
                            const char* lat, const char* timestamp);
// The answer to the location request `id`.
int jab_send_geoloc_result(jconn* c, const char* to, const char* id, const char* alt,
                           const char* lon, const char* lat, unsigned lifetime,
                           const char* timestamp);
int jab_send_pubsub_create(jconn* c, const char* to, const char* from, const char* node,
                           const char* id);
int jab_send_pubsub_create_instant(jconn* c, const char* to, const char* from, const char* id);
int jab_send_pubsub_delete(jconn* c, const char* to, const char* from, const char* node,
                           const char* id);
int jab_send_pubsub_items_get(jconn* c, const char* to, const char* from, const char* node,
                              const char* id);
int jab_send_pubsub_authorization(jconn* c, const char* to, const char* from, const char* node,
                                  const char* contact, const char* form_type);
int jab_send_pubsub_get_pending(jconn* c, const char* to, const char* from);
int jab_send_route_query(jconn* c, const char* to, const char* from, const char* source,
                         const char* destination, const char* id);
int jab_send_route_query_address(jconn* c, const char* to, const char* from,
                                 const route_place* source, const route_place* destination,
                                 const char* id);
int jab_send_command(jconn* c, const char* to, const char* action, const char* node,
                     const char* id);
int jab_send_dial(jconn* c, const char* to, const char* id, const char* session_id,
                  const char* const* contacts);
int jab_send_muc_join(jconn* c, const char* room_nick, const char* from, const char* password);
int jab_send_muc_leave(jconn* c, const char* room_nick, const char* from);
int jab_send_muc_invite(jconn* c, const char* room, const char* invitee, const char* reason);
int jab_send_compress(jconn* c);
int jab_send_starttls(jconn* c);
int jab_send_sasl_plain(jconn* c, const char* encoded);
int jab_send_bind(jconn* c, const char* id, const char* resource);
int jab_send_session(jconn* c, const char* id);
