// MRosterLink: the roster model's side of the session. It turns the roster result, roster
// pushes and announced gateways into the model's messages, answers the engine's questions about
// announced services, and applies the model's messages on the user-interface thread.
#pragma once

#include "platform/window.h"
#include "xml/mstring.h"
#include "xml/packet.h"
#include "xml/wmstring.h"

class MApp;

class MRosterLink {
 public:
  explicit MRosterLink(MApp* app);

  // The roster result (the query payload): the contacts go to the model and the log window
  // says how many arrived; presence changes stay quiet for a minute from now.
  void RosterReceived(packet* query);
  // A roster push (an iq set): accepted only from the own account or without a sender.
  void RosterPush(packet* p);
  void AgentsReceived(packet* query);
  bool FindService(const char* address, mstring* name, mstring* type);
  void AddDiscoveredService(const char* address, const wmstring& name, const char* type);

  // UM_ROSTER_* and UM_ROSTER_CLEAR; true when `message` was one of them.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Contacts counted in the last roster result.
  int LastRosterCount() const { return lastRosterCount_; }

 private:
  MApp* app_;
  int lastRosterCount_ = 0;
};
