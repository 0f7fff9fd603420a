#include "diag/debug_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_home.h"

namespace {

void FixedClock(SYSTEMTIME* local) {
  *local = SYSTEMTIME{};
  local->wYear = 2026;
  local->wMonth = 12;
  local->wDay = 5;
  local->wHour = 9;
  local->wMinute = 5;
  local->wSecond = 3;
}

std::atomic<int> g_boxes{0};
std::string g_lastBox;

void CountingBox(const char* text, const char* caption) {
  ++g_boxes;
  g_lastBox = std::string(caption) + ": " + text;
}

struct DebugLogFixture : ::testing::Test {
  TempHome home;
  MSettings settings;
  MAppMutexes mutexes{77};
  MDebugLog log{settings, mutexes};

  void SetUp() override {
    settings.debugMode = true;
    log.SetClock(FixedClock);
  }
};

}  // namespace

TEST_F(DebugLogFixture, WritesPlainAndRawEntriesExactly) {
  log.Begin();
  log.Write("SEND:");
  log.Write("<message to='a@b'><body>x]]>y</body></message>", true);
  log.Write("\n");
  log.End();
  EXPECT_EQ(home.Read("device/WINDOWS/debuglog.xml"),
            "<DEBUGLOG>\n"
            "<MSG T='12/05/2026 09:05:03'>SEND:</MSG>\n"
            "<![CDATA[<message to='a@b'><body>x]]>y</body></message>]]>\n"
            "<MSG T='12/05/2026 09:05:03'>\n</MSG>\n"
            "</DEBUGLOG>\n");
}

TEST_F(DebugLogFixture, BeginStartsANewFile) {
  log.Write("old");
  log.Begin();
  log.Write("new");
  EXPECT_EQ(home.Read("device/WINDOWS/debuglog.xml"),
            "<DEBUGLOG>\n<MSG T='12/05/2026 09:05:03'>new</MSG>\n");
}

TEST_F(DebugLogFixture, NothingAtAllWhenDebugModeIsOff) {
  settings.debugMode = false;
  log.Begin();
  log.Write("SEND:");
  log.Write("<x/>", true);
  log.End();
  EXPECT_FALSE(home.Exists("device/WINDOWS/debuglog.xml"));
  EXPECT_FALSE(home.Exists("device"));
}

TEST_F(DebugLogFixture, UnwritablePathIsReportedOnce) {
  home.Write("device/blocker", "a file where a folder should be");
  settings.debugFilePath = "\\blocker\\debuglog.xml";
  MDebugLog::SetMessageBox(CountingBox);
  int before = g_boxes;
  for (int i = 0; i < 20; ++i) {
    log.Write("entry");
  }
  MDebugLog other(settings, mutexes);  // once per process, not per writer
  other.Write("entry");
  EXPECT_EQ(g_boxes - before, 1);
  EXPECT_EQ(g_lastBox, "Cannot Debug: Cannot open \\blocker\\debuglog.xml");
  MDebugLog::SetMessageBox(nullptr);
}

TEST_F(DebugLogFixture, EntriesFromManyThreadsNeverInterleave) {
  log.Begin();
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([this, t] {
      std::string text(200, static_cast<char>('a' + t));
      for (int i = 0; i < 100; ++i) {
        log.Write(text.c_str(), i % 2 == 0);
      }
    });
  }
  for (auto& writer : writers) {
    writer.join();
  }
  std::string file = home.Read("device/WINDOWS/debuglog.xml");
  std::regex entry("<MSG T='12/05/2026 09:05:03'>([a-d])\\1{199}</MSG>|<!\\[CDATA\\[([a-d])\\2{199}\\]\\]>");
  std::size_t start = file.find('\n') + 1;
  int entries = 0;
  while (start < file.size()) {
    std::size_t end = file.find('\n', start);
    ASSERT_TRUE(std::regex_match(file.substr(start, end - start), entry))
        << file.substr(start, end - start);
    ++entries;
    start = end + 1;
  }
  EXPECT_EQ(entries, 400);
}
