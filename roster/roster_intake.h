// The roster and agents intake: what the dispatcher does, on the user-interface thread, with the
// items of a roster result or push and the agents of an agents result. Each change goes to the
// main frame as a synchronous UM_ROSTER_* message carrying a heap copy that the frame frees
// (see roster_messages.h); nothing is allocated when the frame is not there.
#pragma once

#include "platform/message_queue.h"
#include "roster/subscribe_back.h"
#include "xml/packet_lists.h"

// Each roster item, in order: items whose jid holds no '@', whose display name contains
// "/register" or that carry no subscription are skipped; an item without a group goes to
// "Contacts". A "remove" becomes UM_ROSTER_REMOVE_ITEM; anything else UM_ROSTER_ADD_GROUP and
// then UM_ROSTER_ADD_ITEM, with `shown` 0 when only online contacts are shown. A contact with
// subscription "from" and no pending `ask` is asked for a subscription back (once a session).
void RosterItemsIntake(HWND frame, const roster_item_rec* items, bool onlyOnlineContacts,
                       MSubscribeBack& subscribeBack);

// Each agent with a name becomes an AgentEntry sent as UM_ROSTER_ADD_SERVICE, shown when the
// "SHOW SERVICES" setting is on.
void AgentsIntake(HWND frame, const agent_rec* agents, bool showServices);
