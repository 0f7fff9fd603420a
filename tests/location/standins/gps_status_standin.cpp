// Stand-in for the status word until the serial reader's own lands in location/.
#include <mutex>

#include "location/gps_status.h"

namespace {
std::mutex lock;
mstring word;
}  // namespace

void SetGpsStatus(const char* text) {
  std::lock_guard<std::mutex> hold(lock);
  word = text;
}

mstring GpsStatus() {
  std::lock_guard<std::mutex> hold(lock);
  return word;
}
