#include "xmpp/engine_route.h"

#include "xmpp/iq_tracking.h"
#include "xmpp/negotiation.h"

namespace {

// Drops the pending record of the legacy authentication query once its answer (the offered
// fields) has been consumed, so it cannot match anything later.
void forget_request(MJabberSession* session, packet* p) {
  PendingIq done;
  pending_take(session, p, &done);
}

}  // namespace

void session_route_result(MJabberSession* session, packet* p) {
  packet* query = packet_query(p);
  int ns = packet_ns_code(query);
  if (ns == NS_AGENTS || ns == NS_ROSTER || ns == NS_AUTH) {
    // Only the own server speaks for the roster, the agents and the login.
    if (!from_own_server(session, p)) {
      session_trace(session, "result from a foreign address ignored\n");
      return;
    }
  }
  switch (ns) {
    case NS_AGENTS:
      session->host->AgentsReceived(query);
      break;
    case NS_ROSTER:
      session->host->RosterReceived(query);
      session_after_roster(session);
      break;
    case NS_AUTH:
      forget_request(session, p);
      send_legacy_auth(session, packet_auth_fields(p));
      break;
    default:
      iq_result(session, p);
      break;
  }
}

bool session_route_packet(MJabberSession* session, packet* p) {
  if (safe_strcmp(xml_node_name(p->x), "stream:error") == 0) {
    session_stream_error(session, p);
    return true;
  }
  switch (packet_subtype(p)) {
    case SUBTYPE_ERROR:
      iq_error(session, p);
      return true;
    case SUBTYPE_RESULT:
      session_route_result(session, p);
      return true;
    case SUBTYPE_FEATURES:
      session_stream_features(session, p);
      return true;
    case SUBTYPE_COMPRESSED:
      session_compressed(session);
      return true;
    case SUBTYPE_PROCEED:
      session_tls_proceed(session);
      return true;
    case SUBTYPE_SUCCESS:
      session_auth_success(session);
      return true;
    case SUBTYPE_FAILURE:
      session_failure(session, p);
      return true;
    default:
      return false;
  }
}

void session_dispatch(MJabberSession* session, packet* p) {
  if (!session_route_packet(session, p))
    session->host->DispatchPacket(p);
}
