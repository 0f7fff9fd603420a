#include "app/dispatcher.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "app/login_control.h"
#include "app/roster_link.h"
#include "xml/namespaces.h"
#include "xml/xml_escape.h"

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
  const char* tag = xml_node_name(p->x);
  if (tag != nullptr && std::strcmp(tag, "stream:error") == 0) {
    StreamError(p);
    return;
  }
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

// The server ends the stream with a reason (a second login with the same resource gets
// <conflict/>): say so, and let automatic login wait before it tries again.
void MDispatcher::StreamError(packet* p) {
  login_->NoteStreamError();
  xml_node* reason = xml_node_first_child(p->x);
  while (reason != nullptr && reason->type != XML_NODE_TAG) {
    reason = xml_node_next_sibling(reason);
  }
  char* name = xml_escape(nullptr, reason != nullptr ? xml_node_name(reason) : "unknown");
  mstring line = mstring("<p>The server ended the session: ") + name + ".</p>";
  std::free(name);
  app_->logWindow->AppendNarrow(line.c_str());
  app_->logWindow->Redraw();
}
