#include "app/dispatcher.h"

#include <cstdio>

#include "app/app.h"
#include "app/login_control.h"
#include "app/roster_link.h"
#include "xml/namespaces.h"

MDispatcher::MDispatcher(MApp* app, MLoginControl* login, MRosterLink* roster)
    : app_(app), login_(login), roster_(roster) {}

void MDispatcher::DispatchPacket(packet* p) {
  if (p == nullptr) {
    return;
  }
  EnterCriticalSection(&app_->dispatchLock);
  if (app_->settings->debugMode) {
    char line[32];
    std::snprintf(line, sizeof line, "PACKET_SUBTYPE: %d", packet_subtype(p));
    app_->debugLog->Write(line);
    app_->debugLog->Write("PACKET: ");
    const char* text = xml_node_to_string(p->x);
    app_->debugLog->Write(text != nullptr ? text : "", true);
    app_->debugLog->Write("\n");
  }
  Route(p);
  LeaveCriticalSection(&app_->dispatchLock);
}

void MDispatcher::Route(packet* p) {
  switch (packet_subtype(p)) {
    case SUBTYPE_SET:
      if (packet_ns_code(packet_query(p)) == NS_ROSTER) {
        roster_->RosterPush(p);
      }
      break;
    default:
      break;
  }
}
