// MJabberRoster: the one in-memory contact list: named groups of contacts and the services the
// server announced. Every change runs on the user-interface thread (the network side hands
// heap copies to the main frame, see roster_messages.h); reads and copies come from any thread.
// The named mutex "MJabberRosterMutex" guards both lists; it nests on one thread.
//
// Each contact is filed once, in the group its roster item names. A roster item for a contact
// filed under another group moves it there (keeping its presence and location); a roster item
// for a contact already in that group takes the server's current name and subscription.
#pragma once

#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

#include "base/runtime/app_mutexes.h"
#include "roster/roster_item.h"
#include "roster/roster_view.h"

class MJabberRoster {
 public:
  explicit MJabberRoster(MAppMutexes& mutexes);
  ~MJabberRoster();
  MJabberRoster(const MJabberRoster&) = delete;
  MJabberRoster& operator=(const MJabberRoster&) = delete;

  // The window told about changes; null for none. The view must outlive the model's use of it.
  void SetView(IRosterView* view);

  // Adds an empty group unless one of exactly that name exists; true when it added one. The
  // window is asked to show the group in both cases. Names are cut to 255 characters.
  bool AddGroup(const wmstring& name);
  bool AddGroup(const mstring& utf8Name);
  // Removes every group and service, then adds "Services" again.
  void Clear();
  // Records an announced service (once per jid), gives its type to the contacts of its domain
  // that have none, and files it under "Services".
  bool AddService(const AgentEntry& entry);
  // Files a contact; false (nothing added) when the group does not exist.
  bool AddItem(const wmstring& group, const wmstring& name, const mstring& jid,
               const mstring& serviceType, const mstring& resource, const mstring& subscription,
               std::uint8_t shown, std::uint8_t locationRequested);
  // AddItem with the service type of the item's domain.
  bool AddRosterItem(const RosterItem& item);
  // Removes the contact from the item's group, or from wherever it is filed when that group
  // does not hold it (a roster removal names no group).
  bool RemoveItem(const RosterItem& item);

  // The live entry of `jid` (and `resource`, falling back to any resource), or the shared
  // empty item. Valid only until the next change: other threads use GetItem.
  const RosterItem& FindItem(const char* jid, const char* resource, wmstring* groupOut = nullptr);
  RosterItem GetItem(const char* jid, const char* resource);
  std::uint32_t GetOnline(const char* jid, const char* resource);

  // Applies a presence (online, resource, show, status, name, group) to the contact's entry.
  void UpdatePresence(const RosterItem& record);
  // Replaces the entry of the record's jid (and matching service type) wholesale.
  bool UpdateItem(const RosterItem& record);
  // Removes the entry of the record's jid and resource and appends the record to that group.
  bool ReplaceItem(const RosterItem& record);
  // Sets the contact's "location requested" flag where it is filed (any thread: the location
  // thread marks contacts while the user-interface thread may change other fields of the same
  // entry, so the flag is never written back from an older copy). True when this call set it.
  bool MarkLocationRequested(const char* jid);

  // Copies: the items of the groups named `group` (ignoring case), or of all groups for "".
  std::list<RosterItem> ListItems(const wmstring& group);
  std::list<RosterGroup> CopyGroups();
  std::list<AgentEntry> Services();
  // A copy of the first service whose field equals the argument ignoring case, or an empty one.
  AgentEntry FindServiceByJid(const char* jid);
  AgentEntry FindServiceByName(const char* name);
  AgentEntry FindServiceByType(const char* service);

  // The item every failed look-up returns: all strings empty, all numbers 0.
  static const RosterItem& EmptyItem();

 private:
  class Lock;
  RosterItem* FindLocked(const char* jid, const char* resource, RosterGroup** holder);
  // Appends `item` to `group` and indexes it.
  void FileLocked(RosterGroup& group, const RosterItem& item);
  RosterGroup* GroupNamed(const mstring& name);
  AgentEntry FindService(const char* value, mstring AgentEntry::*field);
  bool RemoveFrom(RosterGroup& group, const mstring& jid, mstring* removedJid = nullptr);

  MAppMutexes& mutexes_;
  HANDLE mutex_ = nullptr;
  std::recursive_mutex fallback_;
  IRosterView* view_ = nullptr;
  std::list<AgentEntry> services_;
  std::list<RosterGroup> groups_;
  // Where each jid is filed (key: the jid with ASCII letters folded). List elements stay put,
  // so the pointers hold until the entry is removed. A 5,000-contact roster would otherwise
  // cost 12 million comparisons on arrival.
  struct Filed {
    RosterGroup* group;
    RosterItem* item;
  };
  std::unordered_map<std::string, Filed> index_;
};

// The domain of a jid: the text after the first '@', or the whole jid without one.
mstring JidDomain(const mstring& jid);
// A wide group or display name as the model compares it: UTF-8, at most 255 characters.
mstring RosterKey(const wmstring& name);
