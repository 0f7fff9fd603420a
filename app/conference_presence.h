// MConferencePresence: the presence of a room's occupants. An open room conversation keeps its
// list of occupants and gets a line when one joins, leaves or changes status; the occupants
// window follows the room it shows.
#pragma once

#include "xml/packet.h"

class MApp;

class MConferencePresence {
 public:
  explicit MConferencePresence(MApp* app) : app_(app) {}

  void Show(packet* p);

 private:
  MApp* app_;
};
