// The checks the XMPP account's setup dialog runs when it is confirmed, in this order: a user
// name, a server name, a resource and a user name of allowed characters. An empty resource
// becomes "orvik" first.
#pragma once

#include "roster/account_dialogs.h"

constexpr const WCHAR* kDefaultResource = u"orvik";

JabberSetupCheck CheckJabberSetup(JabberSetupFields& fields);
