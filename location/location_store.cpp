#include "location/location_store.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/clock.h"
#include "xmpp/jabber_host.h"

namespace {

constexpr const char* kLocationMutex = "LBSLOCATIONMUTEX";

// A timestamp's file time; false for text that is not a real UTC date and time in the stored
// format (anything after the seconds, such as fractions, is ignored).
bool ParseTimestamp(const mstring& text, FILETIME* time) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month, &day, &hour, &minute,
                  &second) != 6) {
    return false;
  }
  SYSTEMTIME utc{};
  utc.wYear = static_cast<WORD>(year);
  utc.wMonth = static_cast<WORD>(month);
  utc.wDay = static_cast<WORD>(day);
  utc.wHour = static_cast<WORD>(hour);
  utc.wMinute = static_cast<WORD>(minute);
  utc.wSecond = static_cast<WORD>(second);
  return year > 0 && month > 0 && day > 0 && hour >= 0 && minute >= 0 && second >= 0 && hour < 24 &&
         minute < 60 && second < 60 && SystemTimeToFileTime(&utc, time);
}

mstring FormatTimestamp(const SYSTEMTIME& utc) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.wYear, utc.wMonth,
                utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
  return mstring(text);
}

// "%f" of the text's decimal value; text that is not a finite number stores as 0.000000.
mstring DecimalText(const mstring& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(value)) {
    value = 0;
  }
  char formatted[400];  // the widest double "%f" writes is 317 characters
  std::snprintf(formatted, sizeof formatted, "%f", value);
  return mstring(formatted);
}

// The named lock over the location fields and their registry values, held for one scope.
class LocationLock {
 public:
  explicit LocationLock(IJabberHost& host) : mutexes_(host.Mutexes()) {
    handle_ = mutexes_.CreateAppMutex(kLocationMutex, false);
    if (handle_ != nullptr) {
      DWORD waited = WaitForSingleObject(handle_, INFINITE);
      held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
  }
  ~LocationLock() {
    if (handle_ != nullptr) {
      mutexes_.CloseAppMutex(handle_);
    }
  }
  LocationLock(const LocationLock&) = delete;
  LocationLock& operator=(const LocationLock&) = delete;

  bool held() const { return held_; }

 private:
  MAppMutexes& mutexes_;
  HANDLE handle_ = nullptr;
  bool held_ = false;
};

// Whether the stored time is missing, unreadable or earlier than `newer`.
bool StoredIsOlder(const mstring& stored, const FILETIME& newer) {
  FILETIME storedTime{};
  if (stored.empty() || !ParseTimestamp(stored, &storedTime)) {
    return true;  // an unreadable stored time must not block every later position
  }
  return CompareFileTime(&storedTime, &newer) < 0;
}

}  // namespace

mstring LocationTimestampNow() {
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  return FormatTimestamp(utc);
}

void SetLocation(IJabberHost& host, const mstring& alt, const mstring& lon, const mstring& lat,
                 const mstring& timestamp) {
  FILETIME newer{};
  if (timestamp.empty()) {
    return;
  }
  if (!ParseTimestamp(timestamp, &newer)) {
    host.DebugLog().Write("\nSetLocation () BAD TIMESTAMP\n");
    return;
  }
  LocationLock lock(host);
  if (!lock.held()) {
    host.DebugLog().Write("\nSetLocation () MUTEX NULL\n");
    return;
  }
  LoadLocation(host);
  MSettings& settings = host.Settings();
  if (!StoredIsOlder(settings.gpsUpdate, newer)) {
    return;
  }
  settings.altitude = DecimalText(alt);
  settings.longitude = DecimalText(lon);
  settings.latitude = DecimalText(lat);
  FILETIME normalised = newer;
  SYSTEMTIME utc{};
  FileTimeToSystemTime(&normalised, &utc);
  settings.gpsUpdate = FormatTimestamp(utc);
  SaveLocation(host);
}

StoredLocation GetLocation(IJabberHost& host) {
  LocationLock lock(host);
  MSettings& settings = host.Settings();
  if (lock.held()) {
    LoadLocation(host);
  }
  return StoredLocation{settings.altitude, settings.longitude, settings.latitude,
                        settings.gpsUpdate};
}

void LoadLocation(IJabberHost& host) {
  host.Settings().LoadLocation();
}

void SaveLocation(IJabberHost& host) {
  if (!host.Settings().SaveLocation()) {
    host.DebugLog().Write("\nSaveLocation () REGISTRY WRITE FAILED\n");
  }
}
