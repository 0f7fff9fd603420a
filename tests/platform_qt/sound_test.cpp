// PlaySound against stand-in players: shell scripts first on PATH that record their arguments
// and play for 0.3 s.
#include "platform/sound.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_home.h"

namespace {

constexpr DWORD kFlags = SND_ASYNC | SND_FILENAME | SND_NODEFAULT | SND_NOSTOP;

// Child processes of this test that have not been reaped or still run.
int LiveChildren() {
  int count = 0;
  std::string parent = " " + std::to_string(getpid()) + " ";
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    std::size_t close = line.rfind(')');
    // "pid (name) state ppid ...": the parent follows the one-letter state.
    if (close != std::string::npos && line.compare(close + 3, parent.size(), parent) == 0) {
      ++count;
    }
  }
  return count;
}

bool WaitFor(const std::function<bool()>& done, double seconds = 5.0) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    bin_ = home_.path() + "/bin";
    std::filesystem::create_directories(bin_);
    setenv("PATH", (bin_ + ":/usr/bin:/bin").c_str(), 1);
  }
  void TearDown() override {
    // The next test starts with no player running (and none left unreaped).
    EXPECT_TRUE(WaitFor([] { return LiveChildren() == 0; }));
    setenv("PATH", previousPath_.c_str(), 1);
  }
  void AddPlayer(const std::string& name) {
    std::string script = bin_ + "/" + name;
    std::ofstream(script) << "#!/bin/sh\necho \"" << name << " $1 $(date +%s.%N)\" >> " << log()
                          << "\nsleep 0.3\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }
  std::string log() const { return home_.path() + "/plays.log"; }
  std::vector<std::string> Plays() const {
    std::ifstream in(log());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line.substr(0, line.rfind(' ')));  // without the time
    }
    return lines;
  }
  std::string Host(const std::string& relative) const { return home_.path() + "/" + relative; }

  TempHome home_;
  std::string bin_;
  std::string previousPath_;
};

TEST_F(SoundTest, PlaysOneSoundAtATimeAndReapsThePlayer) {
  AddPlayer("pw-play");
  AddPlayer("paplay");
  home_.Write("device/WINDOWS/ding.wav", "RIFF");
  EXPECT_TRUE(PlaySound(u"\\WINDOWS\\ding.wav", nullptr, kFlags));
  EXPECT_FALSE(PlaySound(u"\\WINDOWS\\ding.wav", nullptr, kFlags));  // the first still plays
  ASSERT_TRUE(WaitFor([] { return PlaySound(u"\\WINDOWS\\ding.wav", nullptr, kFlags); }));
  ASSERT_TRUE(WaitFor([this] { return Plays().size() == 2; }));
  std::string expected = "pw-play " + Host("device/WINDOWS/ding.wav");
  EXPECT_EQ(Plays(), (std::vector<std::string>{expected, expected}));
}

TEST_F(SoundTest, FallsBackToTheNextPlayerFound) {
  AddPlayer("paplay");
  AddPlayer("aplay");
  home_.Write("device/WINDOWS/ding.wav", "RIFF");
  ASSERT_TRUE(PlaySound(u"\\WINDOWS\\ding.wav", nullptr, kFlags));
  ASSERT_TRUE(WaitFor([this] { return Plays().size() == 1; }));
  EXPECT_EQ(Plays()[0], "paplay " + Host("device/WINDOWS/ding.wav"));
}

TEST_F(SoundTest, MissingFileOrPlayerPlaysNothing) {
  EXPECT_FALSE(PlaySound(u"\\WINDOWS\\orvikmessage.wav", nullptr, kFlags));  // no player
  AddPlayer("pw-play");
  EXPECT_FALSE(PlaySound(u"\\WINDOWS\\nothing.wav", nullptr, kFlags));
  EXPECT_FALSE(PlaySound(nullptr, nullptr, kFlags));
  EXPECT_FALSE(home_.Exists("device/WINDOWS/nothing.wav"));
  EXPECT_TRUE(Plays().empty());
}

TEST_F(SoundTest, FreshProfileGetsTheShippedDefault) {
  AddPlayer("pw-play");
  ASSERT_TRUE(PlaySound(u"\\WINDOWS\\orvikmessage.wav", nullptr, kFlags));
  std::string wave = home_.Read("device/WINDOWS/orvikmessage.wav");
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_GT(wave.size(), 1000u);
  ASSERT_TRUE(WaitFor([this] { return Plays().size() == 1; }));
  EXPECT_EQ(Plays()[0], "pw-play " + Host("device/WINDOWS/orvikmessage.wav"));
  // A file of the user's own is never replaced by the default.
  home_.Write("device/WINDOWS/orvikenter.wav", "mine");
  ASSERT_TRUE(WaitFor([] { return PlaySound(u"\\WINDOWS\\orvikenter.wav", nullptr, kFlags); }));
  EXPECT_EQ(home_.Read("device/WINDOWS/orvikenter.wav"), "mine");
}

}  // namespace
