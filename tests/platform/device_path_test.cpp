// Device paths: the profile folder, the device folder, the program folder.
#include "platform/device_path.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform_test_support.h"

namespace {

TEST(DevicePath, DevicePathsLiveUnderTheProfilesDeviceFolder) {
  ScopedOrvikHome home;
  EXPECT_EQ(OrvikHome(), home.path());
  EXPECT_EQ(DevicePathToHost("\\WINDOWS\\debuglog.xml"),
            home.path() + "/device/WINDOWS/debuglog.xml");
  EXPECT_EQ(DevicePathToHost("\\Program Files\\orvik Messenger\\x.txt"),
            home.path() + "/device/Program Files/orvik Messenger/x.txt");
  EXPECT_EQ(DevicePathToHost("/tmp/plain.txt"), "/tmp/plain.txt");
  EXPECT_EQ(DevicePathToHost(""), "");
  // Dots stay inside the device folder.
  EXPECT_EQ(DevicePathToHost("\\WINDOWS\\..\\..\\..\\etc\\passwd"),
            home.path() + "/device/etc/passwd");
  EXPECT_EQ(DevicePathToHost("\\.\\WINDOWS\\\\a.wav"), home.path() + "/device/WINDOWS/a.wav");
}

TEST(DevicePath, ModuleFileNameIsTheExecutableInDeviceForm) {
  std::string module = GetModuleFileName();
  EXPECT_EQ(module.find('/'), std::string::npos);
  ASSERT_GT(module.size(), 1u);
  EXPECT_EQ(module[0], '\\');
  EXPECT_EQ(module.substr(module.rfind('\\') + 1), "platform_tests");

  // A path in the program folder is a file beside the executable.
  ScopedOrvikHome home;
  std::string folder = module.substr(0, module.rfind('\\') + 1);
  std::string host = DevicePathToHost(folder + "RididEdazov.xml");
  char exe[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  std::string exePath = exe;
  EXPECT_EQ(host, exePath.substr(0, exePath.rfind('/') + 1) + "RididEdazov.xml");
  EXPECT_EQ(DevicePathToHost(module), exePath);
}

TEST(DevicePath, FopenForWritingCreatesFoldersAndIsNotInherited) {
  ScopedOrvikHome home;
  std::FILE* out = DeviceFopen("\\WINDOWS\\deep\\folder\\note.txt", "w");
  ASSERT_NE(out, nullptr);
  EXPECT_NE(fcntl(fileno(out), F_GETFD) & FD_CLOEXEC, 0);
  std::fputs("hello", out);
  std::fclose(out);
  std::ifstream in(home.path() + "/device/WINDOWS/deep/folder/note.txt");
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "hello");

  std::FILE* again = DeviceFopen("\\WINDOWS\\deep\\folder\\note.txt", "r");
  ASSERT_NE(again, nullptr);
  std::fclose(again);
  EXPECT_EQ(DeviceFopen("\\WINDOWS\\missing\\note.txt", "r"), nullptr);  // reading creates nothing
  EXPECT_NE(access((home.path() + "/device/WINDOWS").c_str(), F_OK), -1);
  EXPECT_EQ(access((home.path() + "/device/WINDOWS/missing").c_str(), F_OK), -1);
}

TEST(DevicePath, HomeFallsBackToTheConfigFolders) {
  ScopedOrvikHome scratch;  // restores ORVIK_HOME afterwards
  const char* oldXdg = getenv("XDG_CONFIG_HOME");
  std::string savedXdg = oldXdg != nullptr ? oldXdg : "";
  unsetenv("ORVIK_HOME");
  std::string xdg = scratch.path() + "/xdg";
  setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  EXPECT_EQ(OrvikHome(), xdg + "/orvik");
  EXPECT_EQ(access((xdg + "/orvik").c_str(), F_OK), 0);  // created on first use
  const char* oldHome = getenv("HOME");
  std::string savedHome = oldHome != nullptr ? oldHome : "";
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", scratch.path().c_str(), 1);
  EXPECT_EQ(OrvikHome(), scratch.path() + "/.config/orvik");
  setenv("HOME", savedHome.c_str(), 1);
  if (oldXdg != nullptr) {
    setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  }
}

}  // namespace
