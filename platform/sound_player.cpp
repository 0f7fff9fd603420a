// The command-line player behind PlaySound. One child at a time: its process id is kept until a
// waiter thread has seen it end, and only then is the child reaped, so a later call never takes
// a finished player for a running one and no finished player lingers as a zombie.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/sound.h"

extern char** environ;

namespace {

std::mutex& PlayerLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

pid_t playing = 0;       // the running player, 0 when none (under PlayerLock)
bool unwatched = false;  // no waiter thread could be started for it: calls look instead

void WaitForEnd(pid_t pid) {
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  std::lock_guard<std::mutex> guard(PlayerLock());
  if (playing == pid) {
    playing = 0;
  }
}

pid_t Spawn(const std::string& player, const std::string& file) {
  std::vector<char*> argv{const_cast<char*>(player.c_str()), const_cast<char*>(file.c_str()),
                          nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The players' own chatter ("Playing WAVE ...") is not the program's output.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2}) {
    sigaddset(&defaults, signal);
  }
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  pid_t pid = 0;
  int result = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return result == 0 ? pid : 0;
}

}  // namespace

std::string FindSoundPlayer() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) {
    return "";
  }
  std::string folders(path);
  for (const char* name : {"pw-play", "paplay", "aplay"}) {
    std::size_t start = 0;
    while (start <= folders.size()) {
      std::size_t end = folders.find(':', start);
      if (end == std::string::npos) {
        end = folders.size();
      }
      std::string folder = folders.substr(start, end - start);
      std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
      if (access(candidate.c_str(), X_OK) == 0) {
        return candidate;
      }
      start = end + 1;
    }
  }
  return "";
}

BOOL StartSoundPlayer(const std::string& player, const std::string& file) {
  std::lock_guard<std::mutex> guard(PlayerLock());
  if (playing != 0 && unwatched && waitpid(playing, nullptr, WNOHANG) != 0) {
    playing = 0;
  }
  if (playing != 0) {
    return FALSE;
  }
  pid_t pid = Spawn(player, file);
  if (pid == 0) {
    return FALSE;
  }
  playing = pid;
  try {
    std::thread(WaitForEnd, pid).detach();
    unwatched = false;
  } catch (const std::system_error&) {
    unwatched = true;  // the next call reaps it
  }
  return TRUE;
}
