// Routes from the location service: the two ends of a request and the answer as chat markup.
#pragma once

#include "xml/mstring.h"
#include "xml/packet.h"

struct MJabberSession;

// One end of a route: a user (a jid, or "You" while the dialog edits it), or, when `user` is
// "", a postal address. The program keeps one for the start and one for the destination.
struct RouteEndpoint {
  mstring user;
  mstring street;
  mstring city;
  mstring state;
  mstring zip;
  mstring country;
};

// Asks `service` for the route: the user form when both ends are users, else the address
// form. -1 when it could not be sent.
int RequestRoute(MJabberSession* session, const mstring& service, const RouteEndpoint& start,
                 const RouteEndpoint& destination);

// The route answer as chat markup (UTF-8): the heading with both ends, then one numbered
// paragraph per segment with text. Every text from the answer is escaped, so the service can
// never add markup of its own.
mstring RouteMarkup(packet* answer);
