// System and local time, file time conversions and file last-write times.
#include "platform/clock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <fstream>
#include <string>

#include "platform_test_support.h"

namespace {

std::int64_t Ticks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks),
                  static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32)};
}

FILETIME At(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
            WORD millisecond = 0) {
  SYSTEMTIME time{year, month, 0, day, hour, minute, second, millisecond};
  FILETIME fileTime{};
  EXPECT_TRUE(SystemTimeToFileTime(&time, &fileTime));
  return fileTime;
}

constexpr std::int64_t kHour = 36000000000LL;

// Sets TZ for one test.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    const char* old = getenv("TZ");
    had_ = old != nullptr;
    old_ = had_ ? old : "";
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (had_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool had_;
  std::string old_;
};

TEST(Clock, KnownDatesConvertBothWays) {
  EXPECT_EQ(Ticks(At(1601, 1, 1)), 0);
  EXPECT_EQ(Ticks(At(1970, 1, 1)), 116444736000000000LL);
  EXPECT_EQ(Ticks(At(2000, 2, 29, 23, 59, 59, 999)) - Ticks(At(2000, 2, 29)),
            (86399LL * 1000 + 999) * 10000);

  for (FILETIME fileTime : {At(1601, 1, 1), At(2000, 2, 29, 12, 30, 15, 250), At(2024, 1, 1, 8),
                            At(2038, 1, 19, 3, 14, 8), At(9999, 12, 31)}) {
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &back));
    FILETIME again{};
    ASSERT_TRUE(SystemTimeToFileTime(&back, &again));
    EXPECT_EQ(Ticks(again), Ticks(fileTime));
  }
  SYSTEMTIME time{};
  FILETIME newYear = At(2024, 1, 1, 8, 5, 6, 7);
  FileTimeToSystemTime(&newYear, &time);
  EXPECT_EQ(time.wYear, 2024);
  EXPECT_EQ(time.wMonth, 1);
  EXPECT_EQ(time.wDay, 1);
  EXPECT_EQ(time.wDayOfWeek, 1);  // a Monday
  EXPECT_EQ(time.wHour, 8);
  EXPECT_EQ(time.wMinute, 5);
  EXPECT_EQ(time.wSecond, 6);
  EXPECT_EQ(time.wMilliseconds, 7);
}

TEST(Clock, ImpossibleDatesAreRefused) {
  FILETIME out{};
  for (SYSTEMTIME bad :
       {SYSTEMTIME{2001, 2, 0, 29, 0, 0, 0, 0}, SYSTEMTIME{1900, 2, 0, 29, 0, 0, 0, 0},
        SYSTEMTIME{2024, 13, 0, 1, 0, 0, 0, 0}, SYSTEMTIME{2024, 4, 0, 31, 0, 0, 0, 0},
        SYSTEMTIME{1600, 12, 0, 31, 0, 0, 0, 0}, SYSTEMTIME{2024, 1, 0, 1, 24, 0, 0, 0},
        SYSTEMTIME{2024, 1, 0, 1, 0, 0, 60, 0}, SYSTEMTIME{2024, 1, 0, 1, 0, 0, 0, 1000}}) {
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &out))
        << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
  }
  FILETIME negative{0, 0x80000000u};
  SYSTEMTIME time{};
  EXPECT_FALSE(FileTimeToSystemTime(&negative, &time));
}

TEST(Clock, LocalTimeDiffersFromSystemTimeByTheZoneOffset) {
  ScopedTimeZone zone("XYZ-3");  // three hours east of UTC, no summer time
  SYSTEMTIME utc{}, local{};
  GetSystemTime(&utc);
  GetLocalTime(&local);
  FILETIME utcFile{}, localFile{};
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &utcFile));
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
  std::int64_t difference = Ticks(localFile) - Ticks(utcFile);
  EXPECT_NEAR(static_cast<double>(difference), 3.0 * kHour, 2.0 * 10000000);  // 2 s apart at most

  FILETIME converted{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&utcFile, &converted));
  EXPECT_EQ(Ticks(converted) - Ticks(utcFile), 3 * kHour);
}

TEST(Clock, LocalFileTimesUseTheOffsetInEffectAtThatTime) {
  ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  FILETIME winter = At(2023, 1, 15, 12);
  FILETIME summer = At(2023, 7, 15, 12);
  FILETIME local{}, back{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&winter, &local));
  EXPECT_EQ(Ticks(local) - Ticks(winter), 1 * kHour);
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(Ticks(back), Ticks(winter));
  ASSERT_TRUE(FileTimeToLocalFileTime(&summer, &local));
  EXPECT_EQ(Ticks(local) - Ticks(summer), 2 * kHour);
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(Ticks(back), Ticks(summer));
  // Sub-second parts survive both ways.
  FILETIME precise = FromTicks(Ticks(summer) + 1234567);
  ASSERT_TRUE(FileTimeToLocalFileTime(&precise, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(Ticks(back), Ticks(precise));
}

TEST(Clock, CompareFileTimeOrders) {
  FILETIME early = At(2020, 5, 1), late = At(2020, 5, 1, 0, 0, 0, 1);
  EXPECT_EQ(CompareFileTime(&early, &late), -1);
  EXPECT_EQ(CompareFileTime(&late, &early), 1);
  EXPECT_EQ(CompareFileTime(&early, &early), 0);
  FILETIME highWord{0, 1}, lowWord{0xFFFFFFFFu, 0};
  EXPECT_EQ(CompareFileTime(&highWord, &lowWord), 1);
}

TEST(Clock, FileLastWriteTimeIsTheModificationTime) {
  ScopedOrvikHome folder;
  std::string path = folder.path() + "/stamp.txt";
  std::ofstream(path) << "x";
  timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 500000000}};  // 2023-11-14 22:13:20.5 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  FILETIME written{};
  ASSERT_TRUE(GetFileLastWriteTime(path.c_str(), &written));
  EXPECT_EQ(Ticks(written), Ticks(At(2023, 11, 14, 22, 13, 20, 500)));
  EXPECT_FALSE(GetFileLastWriteTime((folder.path() + "/missing").c_str(), &written));
}

}  // namespace
