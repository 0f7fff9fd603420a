// A real desktop notification service for tests: a private session bus (dbus-daemon), a virtual
// X display (Xvfb, which picks a free display number itself) and dunst on it. The constructor
// points DBUS_SESSION_BUS_ADDRESS of this process at the private bus: make the daemon before
// anything in the process first connects to a session bus. Everything started is ended by the
// destructor. Programs started by a test get the service through Environment().
//
// dunst keeps a shown notification on screen until it expires or is closed; closed ones move to
// its history, which History() returns as dunstctl prints it (JSON).
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class NotificationDaemon {
 public:
  NotificationDaemon() {
    folder_ = (std::filesystem::temp_directory_path() / "orvik-notify-XXXXXX").string();
    if (::mkdtemp(folder_.data()) == nullptr) {
      return;
    }
    if (!StartBus() || !StartDisplay()) {
      return;
    }
    std::string config = folder_ + "/dunstrc";
    std::ofstream(config) << "[global]\n    history_length = 50\n";
    std::vector<std::string> environment{"DISPLAY=" + display_,
                                         "DBUS_SESSION_BUS_ADDRESS=" + address_, "HOME=" + folder_,
                                         "PATH=/usr/bin:/bin"};
    dunst_ = Spawn({"/usr/bin/dunst", "-config", config}, environment, -1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Run("dunstctl count displayed", nullptr)) {
        ready_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~NotificationDaemon() {
    for (pid_t child : {dunst_, xvfb_}) {
      if (child > 0) {
        ::kill(child, SIGTERM);
        ::waitpid(child, nullptr, 0);
      }
    }
    if (bus_ > 0) {
      ::kill(bus_, SIGTERM);  // forked by dbus-daemon itself: not our child
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  NotificationDaemon(const NotificationDaemon&) = delete;
  NotificationDaemon& operator=(const NotificationDaemon&) = delete;

  // False when one of the three could not be started (the reason is on stderr).
  bool ready() const { return ready_; }
  const std::string& address() const { return address_; }
  const std::string& display() const { return display_; }
  // What a started program needs to reach the service ("NAME=value" entries).
  std::vector<std::string> Environment() const { return {"DBUS_SESSION_BUS_ADDRESS=" + address_}; }

  // The number of notifications on screen, or -1 when dunstctl fails.
  int Displayed() const {
    std::string out;
    return Run("dunstctl count displayed", &out) ? std::atoi(out.c_str()) : -1;
  }
  // Chooses the default action of the notification at `position` (0: the newest).
  bool InvokeDefaultAction(int position = 0) const {
    return Run("dunstctl action " + std::to_string(position), nullptr);
  }
  // Closes every shown notification (they move to the history).
  bool CloseAll() const { return Run("dunstctl close-all", nullptr); }
  std::string History() const {
    std::string out;
    Run("dunstctl history", &out);
    return out;
  }

 private:
  // Runs a dunstctl command line against the private bus; its output goes to `out`.
  bool Run(const std::string& command, std::string* out) const {
    std::string line = "DBUS_SESSION_BUS_ADDRESS='" + address_ + "' " + command + " 2>/dev/null";
    FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) {
      return false;
    }
    char buffer[4096];
    std::string text;
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      text.append(buffer, n);
    }
    bool ok = ::pclose(pipe) == 0;
    if (out != nullptr) {
      *out = text;
    }
    return ok;
  }

  // Starts `words` with stdout on `outFd` (none: /dev/null) and the given environment.
  static pid_t Spawn(const std::vector<std::string>& words,
                     const std::vector<std::string>& environment, int outFd) {
    std::vector<char*> argv;
    for (const std::string& word : words) {
      argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
      envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) {
      posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int result = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
  }

  // Reads what a child writes to the pipe until `lines` lines have come (or it closes).
  static std::string ReadLines(int fd, int lines) {
    std::string text;
    char c;
    while (lines > 0 && ::read(fd, &c, 1) == 1) {
      text.push_back(c);
      if (c == '\n') {
        --lines;
      }
    }
    return text;
  }

  bool StartBus() {
    int pipe[2];
    if (::pipe(pipe) != 0) {
      return false;
    }
    pid_t starter =
        Spawn({"/usr/bin/dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"},
              {"PATH=/usr/bin:/bin"}, pipe[1]);
    ::close(pipe[1]);
    std::string text = starter > 0 ? ReadLines(pipe[0], 2) : "";
    ::close(pipe[0]);
    if (starter > 0) {
      ::waitpid(starter, nullptr, 0);
    }
    std::size_t newline = text.find('\n');
    if (newline == std::string::npos) {
      std::fprintf(stderr, "notification daemon: dbus-daemon did not start\n");
      return false;
    }
    address_ = text.substr(0, newline);
    bus_ = std::atoi(text.c_str() + newline + 1);
    return true;
  }

  bool StartDisplay() {
    int pipe[2];
    if (::pipe(pipe) != 0) {
      return false;
    }
    // -displayfd: the server takes a free display number and writes it to descriptor 1 here.
    xvfb_ = Spawn(
        {"/usr/bin/Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
        {"PATH=/usr/bin:/bin"}, pipe[1]);
    ::close(pipe[1]);
    std::string number = xvfb_ > 0 ? ReadLines(pipe[0], 1) : "";
    ::close(pipe[0]);
    if (number.empty()) {
      std::fprintf(stderr, "notification daemon: Xvfb did not start\n");
      return false;
    }
    display_ = ":" + std::to_string(std::atoi(number.c_str()));
    return true;
  }

  std::string folder_;
  std::string address_;
  std::string display_;
  pid_t bus_ = -1;
  pid_t xvfb_ = -1;
  pid_t dunst_ = -1;
  bool ready_ = false;
};
