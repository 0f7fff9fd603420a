// MRosterLink: the roster model's side of the session. It turns the roster result, roster
// pushes and announced gateways into the model's messages, answers the engine's questions about
// announced services, and applies the model's messages on the user-interface thread.
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "roster/roster_item.h"
#include "roster/subscribe_back.h"
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
  // A new session: contacts may be asked for a subscription back once more.
  void NewSession() { subscribeBack_.Reset(); }

  // UM_ROSTER_* and UM_ROSTER_CLEAR; true when `message` was one of them.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Contacts in the last roster result, and how many results arrived.
  int LastRosterCount() const { return lastRosterCount_; }
  int RosterResults() const { return rosterResults_; }
  // When the last roster result arrived (file time, UTC).
  std::int64_t RosterArrivalTime() const { return rosterArrival_; }

 private:
  HWND Frame() const;
  void ServiceAnnounced(const AgentEntry& entry);

  MApp* app_;
  MSubscribeBack subscribeBack_;
  int lastRosterCount_ = 0;
  int rosterResults_ = 0;
  std::int64_t rosterArrival_ = 0;
};
