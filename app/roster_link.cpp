#include "app/roster_link.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/app.h"
#include "app/app_messages.h"
#include "app/jabber_wnd.h"
#include "roster/roster_intake.h"
#include "xml/packet_lists.h"
#include "xml/text_convert.h"
#include "xmpp/operations.h"

MRosterLink::MRosterLink(MApp* app)
    : app_(app),
      subscribeBack_([app](const char* jid) { return send_subscribe(app->session, jid); }) {}

HWND MRosterLink::Frame() const {
  return app_->mainFrame->GetHwnd();
}

void MRosterLink::RosterReceived(packet* query) {
  roster_item_rec* items = packet_roster_items(query);
  int count = 0;
  for (roster_item_rec* item = items; item != nullptr; item = item->next) {
    if (item->jid != nullptr && std::strchr(item->jid, '@') != nullptr) {
      ++count;
    }
  }
  RosterItemsIntake(Frame(), items, app_->settings->onlyOnline, subscribeBack_);
  roster_item_list_free(items);
  rosterArrival_ = session_now_filetime();
  lastRosterCount_ = count;
  ++rosterResults_;
  char line[64];
  std::snprintf(line, sizeof line, "<P>Contact list received: %d contacts.</P>", count);
  app_->logWindow->AppendNarrow(line);
  app_->logWindow->Redraw();
}

void MRosterLink::RosterPush(packet* p) {
  // Only the user's own account speaks for the roster: a push from anyone else could plant or
  // remove contacts.
  const char* from = packet_from(p);
  mstring own = session_own_bare(app_->session);
  if (from != nullptr && *from != '\0' && mstricmp(from, own.c_str()) != 0) {
    return;
  }
  roster_item_rec* items = packet_roster_items(packet_query(p));
  RosterItemsIntake(Frame(), items, app_->settings->onlyOnline, subscribeBack_);
  roster_item_list_free(items);
}

void MRosterLink::AgentsReceived(packet* query) {
  agent_rec* agents = packet_agents(query);
  AgentsIntake(Frame(), agents, app_->settings->showServices);
  agent_list_free(agents);
}

bool MRosterLink::FindService(const char* address, mstring* name, mstring* type) {
  AgentEntry entry = app_->roster->FindServiceByJid(address);
  if (entry.jid.empty()) {
    return false;
  }
  *name = entry.name;
  *type = entry.service;
  return true;
}

void MRosterLink::AddDiscoveredService(const char* address, const wmstring& name,
                                       const char* type) {
  auto* entry = new AgentEntry;
  entry->jid = address;
  entry->name = wide_to_utf8(name);
  entry->description = entry->name;
  entry->service = type;
  entry->shown = app_->settings->showServices ? 1 : 0;
  SendMessage(Frame(), UM_ROSTER_ADD_SERVICE, 0, reinterpret_cast<LPARAM>(entry));
}

// A gateway the server announced: the user's account on that network registers with it.
void MRosterLink::ServiceAnnounced(const AgentEntry& entry) {
  app_->roster->AddService(entry);
  if (mstricmp(entry.service.c_str(), "jud") == 0) {
    return;
  }
  IJabberService* account =
      app_->settings->FindServiceAccount(utf8_to_wide(entry.service.c_str()).c_str());
  if (account != nullptr) {
    app_->routes().RegisterWithGateway(account);
  }
}

bool MRosterLink::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
  MJabberRoster& roster = *app_->roster;
  switch (message) {
    case UM_ROSTER_ADD_ITEM: {
      std::unique_ptr<RosterItem> item(reinterpret_cast<RosterItem*>(lParam));
      roster.AddRosterItem(*item);
      return true;
    }
    case UM_ROSTER_REMOVE_ITEM: {
      std::unique_ptr<RosterItem> item(reinterpret_cast<RosterItem*>(lParam));
      roster.RemoveItem(*item);
      return true;
    }
    case UM_ROSTER_ADD_GROUP: {
      std::unique_ptr<mstring> group(reinterpret_cast<mstring*>(lParam));
      roster.AddGroup(*group);
      return true;
    }
    case UM_ROSTER_UPDATE_ITEM: {
      std::unique_ptr<RosterItem> item(reinterpret_cast<RosterItem*>(lParam));
      roster.UpdateItem(*item);
      return true;
    }
    case UM_ROSTER_PRESENCE: {
      std::unique_ptr<RosterItem> item(reinterpret_cast<RosterItem*>(lParam));
      roster.UpdatePresence(*item);
      return true;
    }
    case UM_ROSTER_ADD_SERVICE: {
      std::unique_ptr<AgentEntry> entry(reinterpret_cast<AgentEntry*>(lParam));
      ServiceAnnounced(*entry);
      return true;
    }
    case UM_ROSTER_CLEAR:
      roster.Clear();
      return true;
    default:
      return false;
  }
}
