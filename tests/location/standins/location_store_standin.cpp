// Stand-in for the position store while its real source is not in the tree: the position lives
// in the settings object alone.
#include <cstdio>
#include <ctime>

#include "location/location_store.h"
#include "xmpp/jabber_host.h"

mstring LocationTimestampNow() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

void SetLocation(IJabberHost& host, const mstring& alt, const mstring& lon, const mstring& lat,
                 const mstring& timestamp) {
  MSettings& settings = host.Settings();
  if (timestamp.empty() || !(settings.gpsUpdate < timestamp)) {
    return;
  }
  settings.altitude = alt;
  settings.longitude = lon;
  settings.latitude = lat;
  settings.gpsUpdate = timestamp;
}

StoredLocation GetLocation(IJabberHost& host) {
  const MSettings& settings = host.Settings();
  return {settings.altitude, settings.longitude, settings.latitude, settings.gpsUpdate};
}

void LoadLocation(IJabberHost&) {}
void SaveLocation(IJabberHost&) {}

bool IsValidLocation(double lat, double lon) {
  return lat != 0 && lon != 0 && lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180;
}
