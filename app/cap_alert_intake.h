// MCapAlertIntake: CAP alerts that arrive in messages. Alerts are taken only while broadcast
// alerts are switched on ("TESSELCAST SUPPORT") and only from the trusted broadcaster ("TRUSTED
// TESSELCAST JID", compared as a bare address without regard to ASCII case); anything else is
// dropped, since an alert is meant to be believed. A new alert goes to the alert viewer and a
// popup titled with the broadcaster's address tells the user (one popup per title: a burst of
// alerts leaves one popup, the newest).
#pragma once

#include "alerts/cap_alert.h"
#include "app/notifier.h"
#include "xml/mstring.h"
#include "xml/packet.h"

class MApp;

class MCapAlertIntake {
 public:
  MCapAlertIntake(MApp* app, INotifier* notifier) : app_(app), notifier_(notifier) {}

  void SetNotifier(INotifier* notifier) { notifier_ = notifier; }
  // A packet classified as a CAP alert; true when it reached the viewer as a new alert.
  bool Received(packet* p);

 private:
  bool FromTrustedBroadcaster(const mstring& bare) const;

  MApp* app_;
  INotifier* notifier_;
};
