// The device's one current position: kept in the settings object and the registry, guarded by
// the named mutex "LBSLOCATIONMUTEX" so each store and read is one unit. Positions come from the
// GPS receiver, the location setup dialog and the server's copy of the own position.
#pragma once

#include "xml/mstring.h"

class IJabberHost;

struct StoredLocation {
  mstring alt;
  mstring lon;
  mstring lat;
  mstring timestamp;  // "%04d-%02d-%02dT%02d:%02d:%02dZ" (UTC), "" for none yet
};

// The current UTC time in the timestamp format above.
mstring LocationTimestampNow();

// Stores the position when `timestamp` is later than the stored one (an empty timestamp stores
// nothing).
void SetLocation(IJabberHost& host, const mstring& alt, const mstring& lon, const mstring& lat,
                 const mstring& timestamp);
// Reloads the stored position from the registry and returns it.
StoredLocation GetLocation(IJabberHost& host);
// The registry's "GPS UPDATE", "LONGITUDE", "LATITUDE", "ALTITUDE" into the settings object.
void LoadLocation(IJabberHost& host);
// "LATITUDE", "LONGITUDE", "ALTITUDE", "GPS UPDATE" from the settings object to the registry.
void SaveLocation(IJabberHost& host);

// False for 0 latitude or longitude and for values out of range.
bool IsValidLocation(double lat, double lon);
