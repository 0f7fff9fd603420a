// The check after a login: which of the user's gateway accounts this server does not serve.
#pragma once

#include <list>
#include <vector>

#include "base/settings/settings.h"
#include "roster/roster_item.h"
#include "xml/wmstring.h"

// The names of the gateway accounts (every account after the XMPP one) that have a user name
// and whose type no announced service offers.
std::vector<wmstring> UnavailableServices(const MSettings& settings,
                                          const std::list<AgentEntry>& announced);
// Shows "Unavailable Services" when there are such accounts and the notice is wanted; its
// check box decides whether it is wanted again (saved at once).
void CheckUnavailableServices(MSettings& settings, const std::list<AgentEntry>& announced);
