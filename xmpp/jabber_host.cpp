#include "xmpp/jabber_host.h"

void IJabberHost::CurrentLocation(mstring* alt, mstring* lon, mstring* lat, mstring* timestamp) {
  const MSettings& settings = Settings();
  *alt = settings.altitude;
  *lon = settings.longitude;
  *lat = settings.latitude;
  *timestamp = settings.gpsUpdate;
}
