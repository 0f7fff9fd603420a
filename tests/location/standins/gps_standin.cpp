// Stand-in for the GPS receiver while its real source is not in the tree: there is none.
#include "location/gps.h"

bool StartGps(IJabberHost&) {
  return false;
}
