// Two real orvik processes on one profile: the second hands its command line to the first and
// exits 0; the first opens the conversation and, asked to end by SIGTERM, exits in order.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child_exit.h"
#include "tests/support/temp_home.h"

extern char** environ;

namespace {

pid_t Start(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  std::string program = ORVIK_PROGRAM;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    return -1;
  }
  return pid;
}

bool WaitForText(const TempHome& home, const std::string& file, const std::string& text,
                 double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (home.Read(file).find(text) != std::string::npos) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(SingleInstanceTest, SecondStartHandsOverItsCommandLineAndExits) {
  TempHome home;
  home.Write("registry.reg",
             "Windows Registry Editor Version 5.00\r\n\r\n"
             "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\r\n"
             "\"DEBUG MODE\"=dword:00000001\r\n\"SetupWizard\"=dword:00000001\r\n\r\n");
  const std::string log = "device/WINDOWS/debuglog.xml";
  pid_t first = Start({});
  ASSERT_GT(first, 0);
  ASSERT_TRUE(WaitForText(home, log, "Parsing command mstring", 10.0)) << home.Read(log);
  pid_t second = Start({"-cw", "xmpp:anna@example.org"});
  ASSERT_GT(second, 0);
  EXPECT_EQ(WaitForChildExit(second, 10.0), 0);
  EXPECT_TRUE(WaitForText(home, log, "Open conversation: anna@example.org", 5.0));
  kill(first, SIGTERM);
  int code = WaitForChildExit(first, 15.0);
  if (code == -1) {
    kill(first, SIGKILL);
    WaitForChildExit(first, 5.0);
  }
  EXPECT_EQ(code, 0);
  EXPECT_NE(home.Read(log).find("</DEBUGLOG>"), std::string::npos);
}

TEST(SingleInstanceTest, HelpAndVersionPrintAndExit) {
  TempHome home;
  pid_t help = Start({"--help"});
  EXPECT_EQ(WaitForChildExit(help, 10.0), 0);
  pid_t version = Start({"--version"});
  EXPECT_EQ(WaitForChildExit(version, 10.0), 0);
}

}  // namespace
