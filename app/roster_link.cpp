#include "app/roster_link.h"

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "xml/packet_lists.h"

MRosterLink::MRosterLink(MApp* app) : app_(app) {}

void MRosterLink::RosterReceived(packet* query) {
  roster_item_rec* items = packet_roster_items(query);
  int count = 0;
  for (roster_item_rec* item = items; item != nullptr; item = item->next) {
    if (item->jid != nullptr && std::strchr(item->jid, '@') != nullptr) {
      ++count;
    }
  }
  roster_item_list_free(items);
  lastRosterCount_ = count;
  char line[64];
  std::snprintf(line, sizeof line, "<P>Contact list received: %d contacts.</P>", count);
  app_->logWindow->AppendNarrow(line);
  app_->logWindow->Redraw();
}

void MRosterLink::RosterPush(packet*) {}

void MRosterLink::AgentsReceived(packet*) {}

bool MRosterLink::FindService(const char*, mstring*, mstring*) { return false; }

void MRosterLink::AddDiscoveredService(const char*, const wmstring&, const char*) {}

bool MRosterLink::HandleMessage(UINT, WPARAM, LPARAM) { return false; }
