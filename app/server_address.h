// The server the user types for the XMPP account: a host name, optionally followed by ":" and a
// port. Both the login window and the login procedure check it before connecting, so a typo
// such as "host:0" or "host:abc" is reported instead of becoming a connection to port 0.
#pragma once

#include "xml/wmstring.h"

// True when `server` is a non-empty host, optionally followed by ":" and a decimal port of
// 1 to 65535 (digits only). The port typed goes to *port (0 when the text has no ":").
bool ValidServerAndPort(const wmstring& server, int* port = nullptr);
