// MGeolocIntake: positions that arrive as geoloc events. A contact's position is stored on its
// roster entry; the user's own position (the location service echoes what the device
// published) belongs to the location store.
#pragma once

#include "xml/mstring.h"
#include "xml/packet.h"

class MApp;

class MGeolocIntake {
 public:
  explicit MGeolocIntake(MApp* app) : app_(app) {}

  void EventReceived(packet* p);
  // A position published by `publisher` (a bare or full jid): the user's own goes to the
  // location store, a contact's to its roster entry.
  void PositionReceived(const mstring& publisher, const char* alt, const char* lon, const char* lat,
                        const char* timestamp);

 private:
  void OwnLocationReceived(const char* alt, const char* lon, const char* lat,
                           const char* timestamp);
  void ContactLocationReceived(const char* jid, const char* resource, const char* alt,
                               const char* lon, const char* lat, const char* timestamp);

  MApp* app_;
};
