// System, local and file times. File times count 100 ns intervals from 1601-01-01 UTC;
// the conversions use the proleptic Gregorian calendar, as the handheld does.
#include "platform/clock.h"

#include <sys/stat.h>

#include <ctime>

namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kTicksPerDay = kTicksPerSecond * 86400;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kDaysFrom1601To1970 = 134774;
constexpr std::int64_t kUnixEpochTicks = kDaysFrom1601To1970 * kTicksPerDay;

// Days since 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t* year, unsigned* month, unsigned* day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
  *day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  *month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  *year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (*month <= 2);
}

bool IsLeapYear(unsigned year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::int64_t ToTicks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks) {
  std::uint64_t value = static_cast<std::uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

void FromTm(const std::tm& tm, long nanoseconds, SYSTEMTIME* time) {
  time->wYear = static_cast<WORD>(tm.tm_year + 1900);
  time->wMonth = static_cast<WORD>(tm.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
  time->wDay = static_cast<WORD>(tm.tm_mday);
  time->wHour = static_cast<WORD>(tm.tm_hour);
  time->wMinute = static_cast<WORD>(tm.tm_min);
  time->wSecond = static_cast<WORD>(tm.tm_sec);
  time->wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
}

// Seconds east of UTC in effect at the UTC instant `utcSeconds` (Unix time).
long UtcOffsetAt(std::time_t utcSeconds) {
  std::tm local{};
  if (localtime_r(&utcSeconds, &local) == nullptr) {
    return 0;
  }
  return local.tm_gmtoff;
}

std::time_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  std::int64_t quotient = value / divisor;
  return static_cast<std::time_t>(value % divisor < 0 ? quotient - 1 : quotient);
}

}  // namespace

void GetSystemTime(SYSTEMTIME* utc) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm tm{};
  gmtime_r(&now.tv_sec, &tm);
  FromTm(tm, now.tv_nsec, utc);
}

void GetLocalTime(SYSTEMTIME* local) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm tm{};
  localtime_r(&now.tv_sec, &tm);
  FromTm(tm, now.tv_nsec, local);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* time, FILETIME* fileTime) {
  if (time == nullptr || fileTime == nullptr || time->wYear < 1601 || time->wYear > 30827 ||
      time->wMonth < 1 || time->wMonth > 12 || time->wDay < 1 ||
      time->wDay > DaysInMonth(time->wYear, time->wMonth) || time->wHour > 23 ||
      time->wMinute > 59 || time->wSecond > 59 || time->wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t days = DaysFromCivil(time->wYear, time->wMonth, time->wDay) + kDaysFrom1601To1970;
  std::int64_t seconds = days * 86400 + time->wHour * 3600 + time->wMinute * 60 + time->wSecond;
  *fileTime = FromTicks(seconds * kTicksPerSecond + time->wMilliseconds * 10000);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* time) {
  if (fileTime == nullptr || time == nullptr || ToTicks(*fileTime) < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t ticks = ToTicks(*fileTime);
  std::int64_t days = ticks / kTicksPerDay;
  std::int64_t inDay = ticks % kTicksPerDay;
  std::int64_t year;
  unsigned month, day;
  CivilFromDays(days - kDaysFrom1601To1970, &year, &month, &day);
  time->wYear = static_cast<WORD>(year);
  time->wMonth = static_cast<WORD>(month);
  time->wDay = static_cast<WORD>(day);
  time->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  time->wHour = static_cast<WORD>(inDay / (3600 * kTicksPerSecond));
  time->wMinute = static_cast<WORD>(inDay / (60 * kTicksPerSecond) % 60);
  time->wSecond = static_cast<WORD>(inDay / kTicksPerSecond % 60);
  time->wMilliseconds = static_cast<WORD>(inDay / 10000 % 1000);
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local) {
  if (utc == nullptr || local == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t ticks = ToTicks(*utc);
  long offset = UtcOffsetAt(FloorDiv(ticks - kUnixEpochTicks, kTicksPerSecond));
  *local = FromTicks(ticks + offset * kTicksPerSecond);
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc) {
  if (local == nullptr || utc == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::int64_t ticks = ToTicks(*local);
  std::time_t localSeconds = FloorDiv(ticks - kUnixEpochTicks, kTicksPerSecond);
  // The offset at the local reading taken as UTC, then corrected once: right everywhere but
  // in the hour a clock change skips or repeats, where one of the two readings is chosen.
  long offset = UtcOffsetAt(localSeconds);
  offset = UtcOffsetAt(localSeconds - offset);
  *utc = FromTicks(ticks - offset * kTicksPerSecond);
  return TRUE;
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second) {
  std::uint64_t a = static_cast<std::uint64_t>(ToTicks(*first));
  std::uint64_t b = static_cast<std::uint64_t>(ToTicks(*second));
  return a < b ? -1 : (a > b ? 1 : 0);
}

BOOL GetFileLastWriteTime(const char* hostPath, FILETIME* lastWrite) {
  struct stat info {};
  if (hostPath == nullptr || lastWrite == nullptr || stat(hostPath, &info) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::int64_t ticks = kUnixEpochTicks +
                       static_cast<std::int64_t>(info.st_mtim.tv_sec) * kTicksPerSecond +
                       info.st_mtim.tv_nsec / 100;
  *lastWrite = FromTicks(ticks);
  return TRUE;
}
