// The client's answers to requests other entities send it: a ping gets its empty result, a
// service discovery information request gets the client's identity and features, and any
// request nobody handles gets "service-unavailable". Each answer goes back to the sender under
// the request's id. Only a get or a set is ever answered: an answer to a result or an error
// could start an endless exchange with another client that does the same.
#pragma once

#include "xml/packet.h"
#include "xmpp/session.h"

// The identity the client announces.
constexpr const char* CLIENT_IDENTITY_CATEGORY = "client";
constexpr const char* CLIENT_IDENTITY_TYPE = "pc";
constexpr const char* CLIENT_IDENTITY_NAME = "orvik Messenger";

// Whether `p` is an iq request (type get or set), the only kind that is answered.
bool iq_is_request(packet* p);
// 0 when sent, -1 when not (no connection, or `p` is not a request).
int answer_ping(MJabberSession* session, packet* p);
int answer_disco_info(MJabberSession* session, packet* p);
int answer_service_unavailable(MJabberSession* session, packet* p);
