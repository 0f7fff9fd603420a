// MGeolocIntake: positions that arrive as geoloc events. A contact's position is stored on its
// roster entry; the user's own position (the location service echoes what the device
// published) belongs to the location store.
#pragma once

#include "xml/packet.h"

class MApp;

class MGeolocIntake {
 public:
  explicit MGeolocIntake(MApp* app) : app_(app) {}

  void EventReceived(packet* p);

 private:
  void OwnLocationReceived(const char* alt, const char* lon, const char* lat,
                           const char* timestamp);
  void ContactLocationReceived(const char* jid, const char* resource, const char* alt,
                               const char* lon, const char* lat, const char* timestamp);

  MApp* app_;
};
