// MHeadlineIntake: received headlines go to the headlines viewer, and the user hears of them
// through a popup (one per sender at a time: a burst of headlines gives one popup).
// User-interface thread only, from the dispatcher.
#pragma once

#include "app/notifier.h"
#include "xml/packet.h"

class MApp;
class MHeadlineWnd;

class MHeadlineIntake {
 public:
  explicit MHeadlineIntake(MApp* app) : app_(app) {}

  // The viewer (none: nothing is taken); the intake does not own it.
  void SetViewer(MHeadlineWnd* viewer) { viewer_ = viewer; }
  void SetNotifier(INotifier* notifier) { notifier_ = notifier; }

  // True when the message was a headline from an accepted sender and the viewer took it.
  bool Receive(packet* p);

 private:
  MApp* app_;
  MHeadlineWnd* viewer_ = nullptr;
  INotifier* notifier_ = nullptr;
};
