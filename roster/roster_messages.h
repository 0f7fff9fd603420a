// The messages that hand roster changes to the main frame. The network side never changes the
// model from its own thread: it sends the main frame a heap copy of the record, which the frame
// passes to the model on the user-interface thread and then frees.
#pragma once

#include "platform/message_queue.h"

constexpr UINT UM_ROSTER_ADD_ITEM = 1081;     // RosterItem*
constexpr UINT UM_ROSTER_REMOVE_ITEM = 1082;  // RosterItem*
constexpr UINT UM_ROSTER_ADD_GROUP = 1083;    // mstring* (group name)
constexpr UINT UM_ROSTER_UPDATE_ITEM = 1084;  // RosterItem*
constexpr UINT UM_ROSTER_PRESENCE = 1085;     // RosterItem*
constexpr UINT UM_ROSTER_ADD_SERVICE = 1097;  // AgentEntry*
