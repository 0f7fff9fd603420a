// The real orvik program started without a reachable display (and without being asked to run
// off screen) says so in one line and ends with exit code 1, instead of aborting or going
// invisible.
#include <fcntl.h>
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

// The environment of this process without the display variables, then `extra`.
std::vector<std::string> EnvironmentWith(const TempHome& home,
                                         const std::vector<std::string>& extra) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" &&
        name != "ORVIK_HOME") {
      environment.push_back(text);
    }
  }
  environment.push_back("ORVIK_HOME=" + home.path());
  environment.insert(environment.end(), extra.begin(), extra.end());
  return environment;
}

// Runs the program to its end (at most `seconds`); the exit code, or -1 when it had to be
// killed, with what it wrote to stderr.
int RunProgram(const std::vector<std::string>& environment, const std::string& errorFile,
               double seconds) {
  std::string program = ORVIK_PROGRAM;
  std::vector<char*> argv{program.data(), nullptr};
  std::vector<std::string> copies = environment;
  std::vector<char*> envp;
  for (std::string& entry : copies) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = -1;
  int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) {
    return -2;
  }
  int code = WaitForChildExit(pid, seconds);
  if (code >= 0) {
    return code;
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

TEST(DisplayFailureTest, WithoutAReachableDisplayTheProgramSaysSoAndExitsWithOne) {
  struct Case {
    const char* name;
    std::vector<std::string> environment;
  };
  const Case cases[] = {
      {"a display that does not exist", {"DISPLAY=:77"}},
      {"no display at all", {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    TempHome home;
    std::string errors = home.path() + "/stderr.txt";
    EXPECT_EQ(RunProgram(EnvironmentWith(home, test.environment), errors, 30.0), 1);
    std::string text = home.Read("stderr.txt");
    EXPECT_NE(text.find("orvik: cannot open the display\n"), std::string::npos) << text;
  }
}

}  // namespace
