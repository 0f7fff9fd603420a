// Parsed XMPP addresses: user@server/resource, with an optional :port and a second @host.
#pragma once

#include <cstdint>

#include "xml/pool.h"

struct jid {
  ::pool* pool;    // the pool it lives in; every string points into one pool copy of the input
  char* resource;  // after the first '/', null when absent or empty
  char* user;      // before the '@', null when absent or empty
  char* server;    // the domain part, lower-cased
  char* host;      // normally the same text as server; the part after a second '@'
  int32_t port;    // from a ':' suffix, else the default given to jid_new
  int32_t reserved1;
  int32_t reserved2;
};

// Parses and validates `text`; null for a null pool, null or empty text or an invalid address.
jid* jid_new(pool* p, const char* text, int default_port);
// Checks and normalises in place: server 1..255 bytes of letters, digits, '-' and '.' (lowered),
// user cut to 64 bytes of printable ASCII without : @ < > ' " &. Null when invalid.
jid* jid_validate(jid* id);
