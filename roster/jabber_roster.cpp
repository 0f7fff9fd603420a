#include "roster/jabber_roster.h"

#include "platform/kernel.h"
#include "xml/text_convert.h"

namespace {

constexpr std::uint32_t kNameLimit = 255;

bool SameText(const mstring& left, const char* right) {
  return mstricmp(left.c_str(), right ? right : "") == 0;
}

// A roster item for a contact that is already filed: the server's current name and
// subscription win, presence and location stay. True when something the window shows changed.
bool TakeRosterFields(RosterItem& filed, const RosterItem& incoming) {
  bool changed = !(filed.name == incoming.name) || !(filed.subscription == incoming.subscription);
  filed.name = incoming.name;
  filed.subscription = incoming.subscription;
  if (filed.serviceType.empty() && !incoming.serviceType.empty()) {
    filed.serviceType = incoming.serviceType;
    changed = true;
  }
  return changed;
}

}  // namespace

// Holds the roster mutex for one operation; waits without time-out, as every holder is short.
// Without the named mutex (the registry could not make it) a process-local lock stands in.
class MJabberRoster::Lock {
 public:
  explicit Lock(MJabberRoster& roster) : roster_(roster) {
    if (roster_.mutex_) {
      WaitForSingleObject(roster_.mutex_, INFINITE);
    } else {
      roster_.fallback_.lock();
    }
  }
  ~Lock() {
    if (roster_.mutex_) {
      ReleaseMutex(roster_.mutex_);
    } else {
      roster_.fallback_.unlock();
    }
  }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  MJabberRoster& roster_;
};

mstring JidDomain(const mstring& jid) {
  std::uint32_t at = jid.find('@');
  return at == mstring::npos ? jid : jid.substr(at + 1);
}

mstring RosterKey(const wmstring& name) {
  wmstring cut(name);
  cut.truncate(kNameLimit);
  return wide_to_utf8(cut);
}

MJabberRoster::MJabberRoster(MAppMutexes& mutexes)
    : mutexes_(mutexes), mutex_(mutexes.CreateAppMutex("MJabberRosterMutex", false)) {}

MJabberRoster::~MJabberRoster() {
  mutexes_.CloseAppMutex(mutex_);
}

const RosterItem& MJabberRoster::EmptyItem() {
  static const RosterItem empty;
  return empty;
}

void MJabberRoster::SetView(IRosterView* view) {
  Lock lock(*this);
  view_ = view;
}

RosterGroup* MJabberRoster::GroupNamed(const mstring& name) {
  for (RosterGroup& group : groups_) {
    if (group.name == name) {
      return &group;
    }
  }
  return nullptr;
}

bool MJabberRoster::AddGroup(const wmstring& name) {
  Lock lock(*this);
  mstring key = RosterKey(name);
  bool added = GroupNamed(key) == nullptr;
  if (added) {
    groups_.push_back(RosterGroup{key, {}});
  }
  if (view_) {
    view_->ShowGroup(utf8_to_wide(key));
  }
  return added;
}

bool MJabberRoster::AddGroup(const mstring& utf8Name) {
  return AddGroup(utf8_to_wide(utf8Name));
}

void MJabberRoster::Clear() {
  {
    Lock lock(*this);
    groups_.clear();
    services_.clear();
    index_.clear();
  }
  AddGroup(mstring(kServicesGroup));
}

// Each jid is filed once, so the index finds its one entry; the resource asked for makes no
// difference (an entry is found by its bare jid whatever resource it last had).
RosterItem* MJabberRoster::FindLocked(const char* jid, const char*, RosterGroup** holder) {
  auto found = index_.find(mstrfold(jid));
  if (found == index_.end()) {
    return nullptr;
  }
  if (holder) {
    *holder = found->second.group;
  }
  return found->second.item;
}

void MJabberRoster::FileLocked(RosterGroup& group, const RosterItem& item) {
  group.items.push_back(item);
  index_[mstrfold(item.jid.c_str())] = Filed{&group, &group.items.back()};
}

bool MJabberRoster::AddItem(const wmstring& group, const wmstring& name, const mstring& jid,
                            const mstring& serviceType, const mstring& resource,
                            const mstring& subscription, std::uint8_t shown,
                            std::uint8_t locationRequested) {
  RosterItem entry;
  entry.jid = jid;
  entry.serviceType = serviceType;
  entry.resource = resource;
  entry.subscription = subscription;
  entry.name = name;
  entry.group = group;
  entry.shown = shown;
  entry.locationRequested = locationRequested;

  IRosterView* view = nullptr;
  bool filed = false;
  bool renamed = false;
  bool moved = false;
  wmstring movedFrom;
  mstring movedJid;
  {
    Lock lock(*this);
    view = view_;
    if (RosterGroup* target = GroupNamed(RosterKey(group))) {
      filed = true;
      RosterGroup* holder = nullptr;
      RosterItem* existing = FindLocked(jid.c_str(), "", &holder);
      if (existing && holder == target) {
        renamed = TakeRosterFields(*existing, entry);
        entry = *existing;
      } else {
        if (existing) {
          moved = true;
          movedFrom = existing->group;
          movedJid = existing->jid;
          RosterItem kept = *existing;
          TakeRosterFields(kept, entry);
          kept.group = group;
          kept.shown = shown;
          entry = kept;
          RemoveFrom(*holder, existing->jid);
        }
        FileLocked(*target, entry);
      }
    }
  }
  if (view) {
    if (moved) {
      view->RemoveItem(movedFrom, movedJid);
    }
    if (shown) {
      view->AddItem(entry);
    } else if (renamed) {
      view->RefreshItem(entry);
    }
  }
  return filed;
}

bool MJabberRoster::AddRosterItem(const RosterItem& item) {
  mstring serviceType = FindServiceByJid(JidDomain(item.jid).c_str()).service;
  return AddItem(item.group, item.name, item.jid, serviceType, item.resource, item.subscription,
                 item.shown, item.locationRequested);
}

bool MJabberRoster::AddService(const AgentEntry& entry) {
  {
    Lock lock(*this);
    if (FindServiceByJid(entry.jid.c_str()).jid.empty()) {
      services_.push_back(entry);
    }
    for (RosterGroup& group : groups_) {
      for (RosterItem& item : group.items) {
        if (item.serviceType.empty() && JidDomain(item.jid) == entry.jid) {
          item.serviceType = entry.service;
          if (view_) {
            view_->RefreshItem(item);
          }
        }
      }
    }
  }
  return AddItem(utf8_to_wide(mstring(kServicesGroup)), utf8_to_wide(entry.name), entry.jid,
                 entry.service, "", "", entry.shown, 1);
}

bool MJabberRoster::RemoveFrom(RosterGroup& group, const mstring& jid, mstring* removedJid) {
  const RosterItem* found = nullptr;
  for (const RosterItem& item : group.items) {
    if (SameText(item.jid, jid.c_str())) {
      found = &item;
      break;
    }
  }
  if (!found) {
    return false;
  }
  const mstring foundJid = found->jid;
  if (removedJid) {
    *removedJid = foundJid;  // the window knows the contact by the jid the model holds
  }
  const mstring foundResource = found->resource;
  index_.erase(mstrfold(foundJid.c_str()));
  group.items.remove_if([&](const RosterItem& item) {
    return item.jid == foundJid && item.resource == foundResource;
  });
  return true;
}

bool MJabberRoster::RemoveItem(const RosterItem& item) {
  mstring groupKey = RosterKey(item.group);
  wmstring removedFrom = item.group;
  mstring removedJid = item.jid;
  bool removed = false;
  IRosterView* view = nullptr;
  {
    Lock lock(*this);
    view = view_;
    for (RosterGroup& group : groups_) {
      if (mstricmp(group.name.c_str(), groupKey.c_str()) == 0) {
        removed = RemoveFrom(group, item.jid, &removedJid) || removed;
      }
    }
    // A roster removal from the server names no group: the contact goes wherever it is filed.
    RosterGroup* holder = nullptr;
    if (!removed && FindLocked(item.jid.c_str(), "", &holder)) {
      removedFrom = utf8_to_wide(holder->name);
      removed = RemoveFrom(*holder, item.jid, &removedJid);
    }
  }
  if (view) {
    view->RemoveItem(removedFrom, removedJid);
  }
  return removed;
}

const RosterItem& MJabberRoster::FindItem(const char* jid, const char* resource,
                                          wmstring* groupOut) {
  Lock lock(*this);
  RosterGroup* holder = nullptr;
  const RosterItem* found = FindLocked(jid, resource, &holder);
  if (!found) {
    return EmptyItem();
  }
  if (groupOut) {
    *groupOut = utf8_to_wide(holder->name);
    groupOut->truncate(kNameLimit);
  }
  return *found;
}

RosterItem MJabberRoster::GetItem(const char* jid, const char* resource) {
  Lock lock(*this);
  return FindItem(jid, resource);
}

std::uint32_t MJabberRoster::GetOnline(const char* jid, const char* resource) {
  Lock lock(*this);
  return FindItem(jid, resource).online;
}

void MJabberRoster::UpdatePresence(const RosterItem& record) {
  mstring serviceType = FindServiceByJid(JidDomain(record.jid).c_str()).service;
  RosterItem applied;
  IRosterView* view = nullptr;
  {
    // Under the lock: the location thread copies the lists while presences arrive.
    Lock lock(*this);
    RosterItem* item = FindLocked(record.jid.c_str(), record.resource.c_str(), nullptr);
    if (!item) {
      return;
    }
    item->online = record.online;
    item->resource = record.resource;
    item->show = record.show;
    item->status = record.status;
    // A presence never renames or moves a contact: an empty name keeps the roster's, and the
    // group stays the one that holds the entry.
    if (!record.name.empty()) {
      item->name = record.name;
    }
    applied = *item;
    view = view_;
  }
  if (view) {
    view->PresenceChanged(applied, serviceType);
  }
}

bool MJabberRoster::UpdateItem(const RosterItem& record) {
  RosterItem replaced;
  IRosterView* view = nullptr;
  {
    Lock lock(*this);
    RosterItem* match = nullptr;
    for (RosterGroup& group : groups_) {
      for (RosterItem& item : group.items) {
        if (!match && SameText(item.jid, record.jid.c_str()) &&
            (item.serviceType.empty() || record.serviceType.empty() ||
             SameText(item.serviceType, record.serviceType.c_str()))) {
          match = &item;
        }
      }
    }
    if (!match) {
      return false;
    }
    *match = record;
    replaced = record;
    view = view_;
  }
  if (view) {
    view->RefreshItem(replaced);
  }
  return true;
}

bool MJabberRoster::ReplaceItem(const RosterItem& record) {
  Lock lock(*this);
  for (RosterGroup& group : groups_) {
    for (auto it = group.items.begin(); it != group.items.end(); ++it) {
      if (SameText(it->jid, record.jid.c_str()) &&
          (record.resource.empty() || SameText(it->resource, record.resource.c_str()))) {
        index_.erase(mstrfold(it->jid.c_str()));
        group.items.erase(it);
        FileLocked(group, record);
        return true;
      }
    }
  }
  return false;
}

bool MJabberRoster::MarkLocationRequested(const char* jid) {
  Lock lock(*this);
  RosterItem* item = FindLocked(jid, "", nullptr);
  if (item == nullptr || item->locationRequested != 0) {
    return false;
  }
  item->locationRequested = 1;
  return true;
}

std::list<RosterItem> MJabberRoster::ListItems(const wmstring& group) {
  mstring key = RosterKey(group);
  Lock lock(*this);
  std::list<RosterItem> items;
  for (const RosterGroup& each : groups_) {
    if (key.empty() || mstricmp(each.name.c_str(), key.c_str()) == 0) {
      items.insert(items.end(), each.items.begin(), each.items.end());
    }
  }
  return items;
}

std::list<RosterGroup> MJabberRoster::CopyGroups() {
  Lock lock(*this);
  return groups_;
}

std::list<AgentEntry> MJabberRoster::Services() {
  Lock lock(*this);
  return services_;
}

AgentEntry MJabberRoster::FindService(const char* value, mstring AgentEntry::*field) {
  Lock lock(*this);
  for (const AgentEntry& entry : services_) {
    if (SameText(entry.*field, value)) {
      return entry;
    }
  }
  return AgentEntry{};
}

AgentEntry MJabberRoster::FindServiceByJid(const char* jid) {
  return FindService(jid, &AgentEntry::jid);
}

AgentEntry MJabberRoster::FindServiceByName(const char* name) {
  return FindService(name, &AgentEntry::name);
}

AgentEntry MJabberRoster::FindServiceByType(const char* service) {
  return FindService(service, &AgentEntry::service);
}
