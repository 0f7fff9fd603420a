// MPresenceDisplay: what a contact's presence means for the user. The roster entry takes the
// new state; a sound, a vibration and (for a contact that came online) a popup tell the user,
// except in the quiet minute after the roster arrives, when the server's initial flood of
// presence would ring for every contact; an open window of the contact gets a status line.
// Presence from anyone who is not in the roster changes nothing.
#pragma once

#include <cstdint>

#include "app/notifier.h"
#include "xml/mstring.h"
#include "xml/packet.h"

class MApp;
class MRosterLink;
struct RosterItem;

class MPresenceDisplay {
 public:
  // 60 seconds in file-time units (100 ns).
  static constexpr std::int64_t kDefaultQuietPeriod = 600000000;

  MPresenceDisplay(MApp* app, MRosterLink* roster, INotifier* notifier);

  void Available(packet* p) { Show(p, true); }
  void Unavailable(packet* p) { Show(p, false); }

  void SetNotifier(INotifier* notifier) { notifier_ = notifier; }
  // How long after the roster's arrival presence stays quiet (file-time units).
  void SetQuietPeriod(std::int64_t period) { quietPeriod_ = period; }

 private:
  void Show(packet* p, bool online);
  bool Quiet() const;
  void PostPresence(const RosterItem& entry, const mstring& resource, packet* p, bool online);
  void Notify(const RosterItem& contact, const char* from, bool online, bool wasOnline);
  void AppendToContactWindow(const RosterItem& contact, bool online);

  MApp* app_;
  MRosterLink* roster_;
  INotifier* notifier_;
  std::int64_t quietPeriod_ = kDefaultQuietPeriod;
};
