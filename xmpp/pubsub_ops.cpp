// Publish-subscribe node life cycle and item queries; the ids of untracked requests.
#include <atomic>
#include <cstdio>

#include "xmpp/operations.h"
#include "xmpp/stanza_send.h"

namespace {

std::atomic<int> g_counters[4] = {100, 100, 100, 100};
const char* const kFormats[4] = {"create%d", "instantcreate%d", "delete%d", "publish%d"};

bool ready(MJabberSession* session) {
  return session && session->conn;
}

}  // namespace

mstring pubsub_next_id(PubsubCounter counter) {
  char text[32];
  std::snprintf(text, sizeof text, kFormats[counter], g_counters[counter].fetch_add(1));
  return mstring(text);
}

int pubsub_create(MJabberSession* session, const char* service, const char* node) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_pubsub_create(session->conn, service, own.c_str(), node,
                                pubsub_next_id(PUBSUB_CREATE).c_str());
}

int pubsub_create_instant(MJabberSession* session, const char* service) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_pubsub_create_instant(session->conn, service, own.c_str(),
                                        pubsub_next_id(PUBSUB_INSTANT_CREATE).c_str());
}

int pubsub_delete(MJabberSession* session, const char* service, const char* node) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_pubsub_delete(session->conn, service, own.c_str(), node,
                                pubsub_next_id(PUBSUB_DELETE).c_str());
}

int pubsub_authorize(MJabberSession* session, const char* service, const char* node,
                     const char* contact, const char* form_type) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_pubsub_authorization(session->conn, service, own.c_str(), node, contact,
                                       form_type);
}

int pubsub_get_pending(MJabberSession* session, const char* service) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_pubsub_get_pending(session->conn, service, own.c_str());
}

int pubsub_items(MJabberSession* session, const char* service, const char* node, const char* id) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_pubsub_items_get(session->conn, service, own.c_str(), node, id);
}

int disco_item_update(MJabberSession* session, const char* to, const char* node, const char* id,
                      const char* action, const char* contact, const char* name) {
  if (!ready(session))
    return -1;
  mstring own = session_own_address(session);
  return jab_send_disco_item_update(session->conn, to, own.c_str(), node, id, action, contact,
                                    name);
}
