// Starting programs: PATH search, missing programs, device paths, the one argument passed as
// it is, the program-name table, and no zombies left behind.
#include "platform/process.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/device_path.h"
#include "platform/registry.h"
#include "platform_test_support.h"

namespace {

// Children of this process that have ended but were not reaped.
int ZombieChildren() {
  int zombies = 0;
  DIR* proc = opendir("/proc");
  while (dirent* entry = readdir(proc)) {
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
      continue;
    }
    // pid (comm) state ppid ...: comm may hold blanks, so read after its closing parenthesis.
    std::size_t close = line.rfind(')');
    char state = 0;
    int parent = 0;
    if (close != std::string::npos &&
        sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == getpid() &&
        state == 'Z') {
      ++zombies;
    }
  }
  closedir(proc);
  return zombies;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Process, StartsAProgramFromPathAndReapsIt) {
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(CreateProcess("true", ""));
  }
  EXPECT_TRUE(Eventually([] { return ZombieChildren() == 0; }));
}

TEST(Process, AMissingProgramFailsWithFileNotFound) {
  ScopedOrvikHome home;
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CreateProcess("orvik-no-such-program", "x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CreateProcess("\\Program Files\\Brightwave Telo\\telo.exe",
                             "\"\\Program Files\\Brightwave Telo\\telo.exe -i 10.0.0.1\""));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CreateProcess("", ""));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Process, ADevicePathProgramGetsItsArgumentAsOneWordWithoutAShell) {
  ScopedOrvikHome home;
  std::string folder = home.path() + "/device/Program Files/Tool";
  std::filesystem::create_directories(folder);
  std::string output = home.path() + "/arguments.txt";
  std::string script = folder + "/tool.exe";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << output << ".tmp'\nmv '" << output
        << ".tmp' '" << output << "'\n";
  }
  chmod(script.c_str(), 0700);
  std::string argument = "\"a b\" $HOME; `x` -i 10.0.0.1";
  ASSERT_TRUE(CreateProcess("\\Program Files\\Tool\\tool.exe", argument));
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(output); }));
  EXPECT_EQ(ReadFile(output), "1|" + argument + "|");

  // A file that may not be run.
  chmod(script.c_str(), 0600);
  EXPECT_FALSE(CreateProcess("\\Program Files\\Tool\\tool.exe", ""));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// Stores `command` for `program` in the registry's program table.
void SetProgramCommand(const std::u16string& program, const std::string& command) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"Software\\orvik\\Programs", nullptr, &key, nullptr),
      ERROR_SUCCESS);
  std::u16string wide(command.begin(), command.end());
  ASSERT_EQ(RegSetValueEx(key, program.c_str(), REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(char16_t))),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(Process, TheRegistryTableOverridesTheDefaultsAndPlacesTheArgument) {
  ScopedOrvikHome home;
  std::string script = home.path() + "/browser.sh";
  std::string output = home.path() + "/opened.txt";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << output << ".tmp'\nmv '" << output << ".tmp' '"
        << output << "'\n";
  }
  chmod(script.c_str(), 0700);
  SetProgramCommand(u"IEXPLORE.EXE", "\"" + script + "\" --new-window %1 --end");
  EXPECT_EQ(MapProgramName("iexplore.exe"), "\"" + script + "\" --new-window %1 --end");
  ASSERT_TRUE(CreateProcess("iexplore.exe", "http://example.org/a b"));
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(output); }));
  EXPECT_EQ(ReadFile(output), "--new-window|http://example.org/a b|--end|");

  // An entry naming a program that is not there fails as a missing program does.
  SetProgramCommand(u"peghelp.exe", "orvik-no-such-viewer %1");
  EXPECT_FALSE(CreateProcess("peghelp.exe", "file:\\WINDOWS\\orvhelp.htc"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Process, HandheldProgramNamesMapToLinuxCommands) {
  ScopedOrvikHome home;  // an empty profile: the built-in table applies
  EXPECT_EQ(MapProgramName("iexplore.exe"), "xdg-open %1");
  EXPECT_EQ(MapProgramName("IExplore.EXE"), "xdg-open %1");
  EXPECT_EQ(MapProgramName("\\Windows\\iexplore.exe"), "xdg-open %1");
  std::string help = MapProgramName("peghelp.exe");
  EXPECT_EQ(help.rfind("xdg-open \"/", 0), 0u) << help;
  EXPECT_NE(help.find("/resources/help.html\""), std::string::npos) << help;
  EXPECT_EQ(MapProgramName("telo.exe"), "");
}

}  // namespace
