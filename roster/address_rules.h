// The form of a contact address on each network, as the add-user dialogs check it. An empty
// address is always accepted (nothing will be added).
#pragma once

#include "xml/wmstring.h"

using AddressRule = bool (*)(const wmstring& address);

// XMPP: holds '@', or is letters and digits only (completed later with the server).
bool JabberAddressAccepted(const wmstring& address);
bool AimAddressAccepted(const wmstring& address);    // no '@'
bool IcqAddressAccepted(const wmstring& address);    // decimal digits only
bool MsnAddressAccepted(const wmstring& address);    // holds '%' (name%domain)
bool YahooAddressAccepted(const wmstring& address);  // no '@' and no white space

// Runs `rule`; writes `message` (or "" when accepted) to `messageOut`.
bool CheckAddress(const wmstring& address, AddressRule rule, const WCHAR* message,
                  wmstring& messageOut);
