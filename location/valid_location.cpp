// The range check of a position, kept apart from the store so the NMEA parser needs no
// settings.
#include "location/location_store.h"

bool IsValidLocation(double lat, double lon) {
  // Written so that NaN fails as well.
  return lat != 0 && lon != 0 && lat <= 90 && lat >= -90 && lon <= 180 && lon >= -180;
}
