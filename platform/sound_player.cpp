// The command-line player behind PlaySound. One child at a time: its process id is kept until a
// waiter thread has seen it end, and only then is the child reaped, so a later call never takes
// a finished player for a running one and no finished player lingers as a zombie.
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
#include "platform/spawn.h"

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
  pid_t pid = 0;
  if (SpawnProgram({player, file}, true, &pid) != 0 || pid == 0) {
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
