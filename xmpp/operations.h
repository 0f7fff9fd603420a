// The session operations the application calls once logged in: messages, presence and
// subscriptions, roster edits, conference rooms, publish-subscribe and the device's location.
// Each fills in the own address where the stanza needs a `from`, picks the id and sends; none
// waits for an answer. "Deferrable" operations queue their stanza when it cannot be sent now
// (it goes out with jab_flush_deferred after the next roster arrives).
#pragma once

#include "platform/clock.h"
#include "xmpp/session.h"

// --- deferrable ---
int send_chat(MJabberSession* session, const char* to, const char* body);
int send_groupchat(MJabberSession* session, const char* room, const char* body);
int send_subscribe(MJabberSession* session, const char* contact);
int send_subscribed(MJabberSession* session, const char* contact);
int send_unsubscribe(MJabberSession* session, const char* contact);
int send_unsubscribed(MJabberSession* session, const char* contact);
// Own presence with the capabilities element and the "PRIORITY" setting.
int send_own_presence(MJabberSession* session, const char* status, const char* show);

// --- sent at once or not at all ---
int add_contact(MJabberSession* session, const char* group, const char* contact, const char* name);
int set_contact(MJabberSession* session, const char* contact, const char* name, const char* group);
int remove_contact(MJabberSession* session, const char* group, const char* contact,
                   const char* name);
int join_room(MJabberSession* session, const char* room, const char* nickname,
              const char* password);
int leave_room(MJabberSession* session, const char* room, const char* nickname);
int invite_to_room(MJabberSession* session, const char* room, const char* invitee,
                   const char* reason);
int pubsub_create(MJabberSession* session, const char* service, const char* node);
int pubsub_create_instant(MJabberSession* session, const char* service);
int pubsub_delete(MJabberSession* session, const char* service, const char* node);
int pubsub_authorize(MJabberSession* session, const char* service, const char* node,
                     const char* contact, const char* form_type);
int pubsub_get_pending(MJabberSession* session, const char* service);
int pubsub_items(MJabberSession* session, const char* service, const char* node, const char* id);
int disco_item_update(MJabberSession* session, const char* to, const char* node, const char* id,
                      const char* action, const char* contact, const char* name);

// Answers the location request `id` from `requester` (nothing unless location support is on
// and the connection is alive). The answer carries the request's id, so the requester can
// match it.
void answer_location_request(MJabberSession* session, const char* requester, const char* id);
// Publishes the own position to `target` (the own presence first when the target is empty).
// 1 when something was sent, else 0.
int publish_location(MJabberSession* session, const char* target);

// The protocol timestamp of a UTC time: "2007-03-05T09:04:03Z".
mstring utc_timestamp(const SYSTEMTIME& utc);
// The next id of an untracked publish-subscribe request from one of the four process-wide
// counters ("create%d", "instantcreate%d", "delete%d", "publish%d"), each starting at 100.
enum PubsubCounter { PUBSUB_CREATE, PUBSUB_INSTANT_CREATE, PUBSUB_DELETE, PUBSUB_PUBLISH };
mstring pubsub_next_id(PubsubCounter counter);
