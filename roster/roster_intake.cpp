#include "roster/roster_intake.h"

#include <cstring>
#include <memory>

#include "roster/roster_item.h"
#include "roster/roster_messages.h"
#include "xml/text_convert.h"

namespace {

// Hands a heap record to the frame, which frees it; kept here when the frame is gone.
template <typename T>
void SendToFrame(HWND frame, UINT message, std::unique_ptr<T> record) {
  if (!IsWindow(frame)) {
    return;
  }
  SendMessage(frame, message, 0, reinterpret_cast<LPARAM>(record.release()));
}

const char* OrEmpty(const char* text) {
  return text ? text : "";
}

bool Skipped(const roster_item_rec& item) {
  if (!item.jid || !std::strchr(item.jid, '@') || !item.subscription) {
    return true;
  }
  const char* displayName = item.name ? item.name : item.jid;
  return std::strstr(displayName, "/register") != nullptr;
}

void OneRosterItem(HWND frame, const roster_item_rec& item, bool onlyOnlineContacts,
                   MSubscribeBack& subscribeBack) {
  if (Skipped(item)) {
    return;
  }
  mstring group(item.group ? item.group : kContactsGroup);
  auto record = std::make_unique<RosterItem>();
  record->jid = item.jid;
  record->name = utf8_to_wide(mstring(item.name ? item.name : item.jid));
  record->group = utf8_to_wide(group);
  if (std::strcmp(item.subscription, "remove") == 0) {
    SendToFrame(frame, UM_ROSTER_REMOVE_ITEM, std::move(record));
    return;
  }
  // While our own request is pending (`ask`) the server already carries it.
  if (std::strcmp(item.subscription, "from") == 0 && !item.ask) {
    subscribeBack.Ask(item.jid);
  }
  record->subscription = item.subscription;
  record->shown = onlyOnlineContacts ? 0 : 1;
  SendToFrame(frame, UM_ROSTER_ADD_GROUP, std::make_unique<mstring>(group));
  SendToFrame(frame, UM_ROSTER_ADD_ITEM, std::move(record));
}

}  // namespace

void RosterItemsIntake(HWND frame, const roster_item_rec* items, bool onlyOnlineContacts,
                       MSubscribeBack& subscribeBack) {
  for (const roster_item_rec* item = items; item; item = item->next) {
    OneRosterItem(frame, *item, onlyOnlineContacts, subscribeBack);
  }
}

void AgentsIntake(HWND frame, const agent_rec* agents, bool showServices) {
  for (const agent_rec* agent = agents; agent; agent = agent->next) {
    // A service without a name cannot be listed, one without a jid cannot be addressed.
    if (!agent->name || !*agent->name || !agent->jid || !*agent->jid) {
      continue;
    }
    auto entry = std::make_unique<AgentEntry>();
    entry->jid = agent->jid;
    entry->name = agent->name;
    entry->description = OrEmpty(agent->description);
    entry->service = OrEmpty(agent->service);
    entry->shown = showServices ? 1 : 0;
    SendToFrame(frame, UM_ROSTER_ADD_SERVICE, std::move(entry));
  }
}
