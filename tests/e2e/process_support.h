// Child processes for the end-to-end tests: servers and peers started in their own process
// group (so every helper they start goes with them), with output to a log file, and stopped
// for sure when the test ends.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/free_port.h"

namespace e2e {

inline int FreePort() { return FreeLoopbackPort(); }

// Two consecutive free ports (port, port + 1).
inline int FreePortPair() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    int port = FreePort();
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port + 1));
    bool free = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    if (free && port < 65535)
      return port;
  }
  return FreePort();
}

inline bool PortAccepts(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

inline bool WaitForPort(int port, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < deadline) {
    if (PortAccepts(port))
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Replaces every "@NAME@" of `values` in `text`.
inline std::string Fill(std::string text,
                        const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    std::string key = "@" + name + "@";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at))
      text.replace(at, key.size(), value);
  }
  return text;
}

// A temporary folder removed with its contents.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-e2e-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `argv` in `directory` with `environment` added, output appended to `log`.
  bool Start(const std::vector<std::string>& argv, const std::string& directory,
             const std::string& log,
             const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    pid_ = fork();
    if (pid_ < 0)
      return false;
    if (pid_ == 0) {
      setpgid(0, 0);
      int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
      int in = open("/dev/null", O_RDONLY);
      dup2(in, 0);
      dup2(out, 1);
      dup2(out, 2);
      if (chdir(directory.c_str()) != 0)
        _exit(126);
      for (const auto& [name, value] : environment)
        setenv(name.c_str(), value.c_str(), 1);
      std::vector<char*> args;
      for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      _exit(127);
    }
    setpgid(pid_, pid_);
    return true;
  }

  bool Running() {
    if (pid_ <= 0)
      return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    return true;
  }

  // SIGTERM to the whole group, then SIGKILL after `grace_ms`.
  void Stop(int grace_ms = 5000) {
    if (pid_ <= 0)
      return;
    kill(-pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(grace_ms);
    int status;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(-pid_, SIGKILL);  // helpers left in the group
    pid_ = -1;
  }

  // Waits for the end; the exit status as waitpid gives it.
  int Wait() {
    int status = 0;
    if (pid_ > 0)
      waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

// Runs a command to its end; true when it exits with 0.
inline bool Run(const std::vector<std::string>& argv, const std::string& directory,
                const std::string& log) {
  ChildProcess child;
  if (!child.Start(argv, directory, log))
    return false;
  int status = child.Wait();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline std::string SourceDir() {
  return ORVIK_SOURCE_DIR;
}

}  // namespace e2e
