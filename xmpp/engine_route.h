// The packets the engine consumes itself: stream negotiation (features, compressed, proceed,
// success, failure) and IQ results and errors (with the roster, agents and legacy
// authentication results told apart by their payload's namespace). Every other packet goes
// to the application's dispatcher entry (IJabberHost::DispatchPacket).
#pragma once

#include "xml/packet.h"
#include "xmpp/session.h"

// True when the engine consumed the packet.
bool session_route_packet(MJabberSession* session, packet* p);
// session_route_packet, else the host's dispatcher entry. Called under the dispatch lock.
void session_dispatch(MJabberSession* session, packet* p);
// An IQ result: by the payload's namespace first, then by the pending request.
void session_route_result(MJabberSession* session, packet* p);
