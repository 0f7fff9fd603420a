// MDispatcher: what each packet the engine hands over means for the program. It runs on the
// user-interface thread under the dispatch lock, one packet at a time; everything it keeps is
// copied (the packet is freed when it returns).
//
// The engine consumes the negotiation steps, IQ results and errors and stream errors itself
// (xmpp/engine_route.h); everything else arrives here.
#pragma once

#include <cstdint>

#include "app/cap_alert_intake.h"
#include "app/conference_presence.h"
#include "app/conversations.h"
#include "app/geoloc_intake.h"
#include "app/headline_intake.h"
#include "app/message_display.h"
#include "app/notifier.h"
#include "app/presence_display.h"
#include "xml/packet.h"

class MApp;
class MLoginControl;
class MRosterLink;

class MDispatcher {
 public:
  MDispatcher(MApp* app, MLoginControl* login, MRosterLink* roster);

  void DispatchPacket(packet* p);

  // The notifier that sounds, vibrates and shows popups; until one is installed, a counting
  // notifier that does nothing. The dispatcher does not own an installed notifier.
  void SetNotifier(INotifier* notifier);
  INotifier& Notifier() { return *notifier_; }
  MCountingNotifier& CountingNotifier() { return countingNotifier_; }
  // Opening a conversation (the dispatcher's, shared with the rest of the program).
  MConversations& Conversations() { return conversations_; }
  // Headline messages on their way to the viewer.
  MHeadlineIntake& Headlines() { return headlines_; }
  // How long after the roster's arrival presence stays quiet (file-time units, 100 ns).
  void SetQuietPeriod(std::int64_t period) { presence_.SetQuietPeriod(period); }

 private:
  void Route(packet* p);
  void RouteGet(packet* p);
  void RouteSet(packet* p);
  void Subscription(packet* p);
  void LocationRequest(packet* p);
  // Whether the sender is a contact of the roster (not an announced service): only contacts
  // learn the user's location and address.
  bool FromRosterContact(packet* p);

  MApp* app_;
  MLoginControl* login_;
  MRosterLink* roster_;
  MCountingNotifier countingNotifier_;
  INotifier* notifier_ = &countingNotifier_;
  MPresenceDisplay presence_;
  MGeolocIntake geoloc_;
  MConversations conversations_;
  MMessageDisplay messages_;
  MConferencePresence conferencePresence_;
  MHeadlineIntake headlines_;
  MCapAlertIntake capAlerts_;
};
