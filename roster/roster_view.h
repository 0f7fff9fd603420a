// What the roster model tells the roster window after a change. The window keeps a tree of its
// own and never reads the model back; without a window installed every call does nothing.
#pragma once

#include "roster/roster_item.h"

class IRosterView {
 public:
  virtual ~IRosterView() = default;
  // Show the group (inserted in sorted order); called for a group that already exists too.
  virtual void ShowGroup(const wmstring& /*group*/) {}
  // A contact to insert (or update when the window has it already); only for shown entries.
  virtual void AddItem(const RosterItem& /*item*/) {}
  // The entry changed (a service type learnt, a location received, a new roster name).
  virtual void RefreshItem(const RosterItem& /*item*/) {}
  // A presence was applied; `serviceType` is the type of the service of the contact's domain.
  virtual void PresenceChanged(const RosterItem& /*item*/, const mstring& /*serviceType*/) {}
  virtual void RemoveItem(const wmstring& /*group*/, const mstring& /*jid*/) {}
};
