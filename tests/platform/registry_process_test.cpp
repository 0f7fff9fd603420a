// The registry file under real concurrency: writers killed mid-save, processes and threads
// saving at once.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/reg_data.h"
#include "platform/reg_file.h"
#include "platform/registry.h"
#include "tests/support/temp_home.h"

namespace {

constexpr const char16_t* kBigKey = u"Software\\tessel Software\\Chirrup";
constexpr const char16_t* kBigKeyPath = u"HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup";

class RegistryProcessTest : public ::testing::Test {
 protected:
  std::string ReadFile() const { return temp_.Read("registry.reg"); }
  int TemporaryFiles() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home_)) {
      count += entry.path().filename().string().find(".tmp-") != std::string::npos;
    }
    return count;
  }

  TempHome temp_;
  std::string home_ = temp_.path();
};

std::u16string Wide(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

LONG SetText(HKEY key, const std::string& name, const std::string& text) {
  std::u16string data = Wide(text);
  return RegSetValueEx(key, Wide(name).c_str(), REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       (data.size() + 1) * 2);
}

std::string ValueName(int index) {
  char name[16];
  std::snprintf(name, sizeof name, "V%04d", index);
  return name;
}

// Every value of the big key names the generation of the save that wrote it.
LONG SaveGeneration(int generation, int count) {
  HKEY key = nullptr;
  LONG result = RegCreateKeyEx(HKEY_LOCAL_MACHINE, kBigKey, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    return result;
  }
  for (int i = 0; i < count; ++i) {
    SetText(key, ValueName(i), "generation " + std::to_string(generation) + " of a long text");
  }
  return RegCloseKey(key);
}

// The generation that the whole file holds; -1 when it is torn, incomplete or mixed.
int FileGeneration(const std::string& text, int count) {
  reg::Tree tree;
  reg::ParseRegText(text, &tree);
  const reg::Key* key = reg::FindKey(tree, kBigKeyPath);
  if (reg::FormatRegText(tree) != text || key == nullptr ||
      key->values.size() != static_cast<size_t>(count)) {
    return -1;
  }
  int generation = -1;
  for (const reg::Value& value : key->values) {
    std::string narrow;
    for (size_t i = 0; i + 2 < value.data.size(); i += 2) {
      narrow.push_back(static_cast<char>(value.data[i]));
    }
    int found = -1;
    if (std::sscanf(narrow.c_str(), "generation %d of a long text", &found) != 1 ||
        (generation != -1 && found != generation)) {
      return -1;
    }
    generation = found;
  }
  return generation;
}

TEST_F(RegistryProcessTest, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  constexpr int kValues = 800;  // about 40 KB: a save takes long enough to be interrupted
  constexpr int kKills = 200;
  ASSERT_EQ(SaveGeneration(0, kValues), ERROR_SUCCESS);
  // Kills spread over a little more than two saves, so they land in every phase of the
  // first save and some after a save has completed.
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(SaveGeneration(0, kValues), ERROR_SUCCESS);
  auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  std::mt19937 random(12345);
  int lastGeneration = 0;
  int changes = 0;
  int killedMidWrite = 0;
  for (int kill = 1; kill <= kKills; ++kill) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      close(ready[0]);
      (void)!write(ready[1], "r", 1);
      for (int save = 0; save < 1000; ++save) {
        if (SaveGeneration(kill * 1000 + save, kValues) != ERROR_SUCCESS) {
          _exit(2);
        }
      }
      _exit(3);  // never killed: the parent has gone wrong
    }
    close(ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    usleep(random() % (saveTime * 5 / 2 + 1));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

    killedMidWrite += TemporaryFiles() > 0;
    int generation = FileGeneration(ReadFile(), kValues);
    ASSERT_GE(generation, 0) << "after kill " << kill << " the file is:\n" << ReadFile();
    changes += generation != lastGeneration;
    lastGeneration = generation;
  }
  std::printf(
      "save of %d values: %lld us; %d kills: the file changed before %d of them, %d "
      "landed mid-write\n",
      kValues, static_cast<long long>(saveTime), kKills, changes, killedMidWrite);
  EXPECT_GT(changes, 0);
  EXPECT_GT(killedMidWrite, 0);

  // The killed writers left no lock behind, and their temporary files go with the next save.
  ASSERT_EQ(SaveGeneration(1, kValues), ERROR_SUCCESS);
  EXPECT_EQ(FileGeneration(ReadFile(), kValues), 1);
  EXPECT_EQ(TemporaryFiles(), 0);
}

TEST_F(RegistryProcessTest, TwoProcessesSavingAtOnceLoseNothing) {
  constexpr int kRounds = 25;
  constexpr int kValues = 8;
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  std::vector<pid_t> children;
  for (char prefix : {'A', 'B'}) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      char byte;
      close(go[1]);
      if (read(go[0], &byte, 1) != 1) {
        _exit(4);
      }
      for (int round = 0; round < kRounds; ++round) {
        HKEY key = nullptr;
        if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kBigKey, nullptr, &key, nullptr) != 0) {
          _exit(1);
        }
        for (int i = 0; i < kValues; ++i) {
          SetText(key, prefix + std::to_string(i), std::to_string(round));
        }
        if (RegCloseKey(key) != ERROR_SUCCESS) {
          _exit(2);
        }
      }
      _exit(0);
    }
    children.push_back(child);
  }
  close(go[0]);
  ASSERT_EQ(write(go[1], "gg", 2), 2);  // start both at once
  close(go[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }

  std::string text = ReadFile();
  for (char prefix : {'A', 'B'}) {
    for (int i = 0; i < kValues; ++i) {
      std::string line = "\"" + std::string(1, prefix) + std::to_string(i) + "\"=\"" +
                         std::to_string(kRounds - 1) + "\"\n";
      EXPECT_NE(text.find(line), std::string::npos) << line << "missing from\n" << text;
    }
  }
}

TEST_F(RegistryProcessTest, ThreadsShareTheRegistrySafely) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 15;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      int notAKey = 0;
      for (int round = 0; round < kRounds; ++round) {
        HKEY key = nullptr;
        failures[t] += RegCreateKeyEx(HKEY_LOCAL_MACHINE, kBigKey, nullptr, &key, nullptr) != 0;
        std::string name = "T" + std::to_string(t);
        failures[t] += SetText(key, name, std::to_string(round)) != ERROR_SUCCESS;
        failures[t] += RegQueryValueEx(key, Wide(name).c_str(), nullptr, nullptr, nullptr) != 0;
        failures[t] += RegFlushKey(reinterpret_cast<HKEY>(&notAKey)) != ERROR_INVALID_HANDLE;
        failures[t] += RegCloseKey(key) != ERROR_SUCCESS;
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  std::string text = ReadFile();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(failures[t], 0) << "thread " << t;
    std::string line = "\"T" + std::to_string(t) + "\"=\"" + std::to_string(kRounds - 1) + "\"\n";
    EXPECT_NE(text.find(line), std::string::npos) << text;
  }
}

}  // namespace
