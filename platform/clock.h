// System time, local time and file times.
#pragma once

#include "platform/win32_types.h"

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;      // 1..12
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

// 100-nanosecond intervals since 1 January 1601 (UTC unless said otherwise).
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

void GetSystemTime(SYSTEMTIME* utc);
void GetLocalTime(SYSTEMTIME* local);
// FALSE (ERROR_INVALID_PARAMETER) for a field out of range (years 1601..30827, real calendar
// days); wDayOfWeek is ignored.
BOOL SystemTimeToFileTime(const SYSTEMTIME* time, FILETIME* fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* time);
// Between UTC and local file times with the time zone's offset in effect at that time
// (summer or winter time as it was then, not as it is now). In the hour a clock change
// repeats, a local time is taken as one of its two readings.
BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc);
// -1, 0 or 1 as the first time is earlier, equal or later.
LONG CompareFileTime(const FILETIME* first, const FILETIME* second);
// The last-write time of a file given by its host path; FALSE when it cannot be read.
BOOL GetFileLastWriteTime(const char* hostPath, FILETIME* lastWrite);
