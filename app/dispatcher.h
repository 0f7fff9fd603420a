// MDispatcher: what each packet the engine hands over means for the program. It runs on the
// user-interface thread under the dispatch lock, one packet at a time; everything it keeps is
// copied (the packet is freed when it returns).
#pragma once

#include "xml/packet.h"

class MApp;
class MLoginControl;
class MRosterLink;

class MDispatcher {
 public:
  MDispatcher(MApp* app, MLoginControl* login, MRosterLink* roster);

  void DispatchPacket(packet* p);

 private:
  void Route(packet* p);

  MApp* app_;
  MLoginControl* login_;
  MRosterLink* roster_;
};
