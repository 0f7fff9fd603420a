// Starting programs with posix_spawn: no shell, no waiting. Each child gets a detached thread
// that waits for it, so finished children never linger as zombies (and no SIGCHLD handler
// competes with the toolkit's). If that thread cannot be started, the child is reaped by a
// non-blocking sweep on a later call.
#include "platform/process.h"

#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/device_path.h"
#include "platform/program_table.h"

extern char** environ;

namespace {

std::mutex& UnreapedLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::vector<pid_t>& Unreaped() {
  static auto* pids = new std::vector<pid_t>;
  return *pids;
}

void SweepUnreaped() {
  std::lock_guard<std::mutex> guard(UnreapedLock());
  std::erase_if(Unreaped(), [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

void ReapLater(pid_t pid) {
  try {
    std::thread([pid] {
      while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> guard(UnreapedLock());
    Unreaped().push_back(pid);
  }
}

// Words separated by blanks; double quotes group a word with blanks (the quotes go).
std::vector<std::string> SplitCommand(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : command) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) {
        words.push_back(word);
      }
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) {
    words.push_back(word);
  }
  return words;
}

// The command words for `program` and its argument.
std::vector<std::string> CommandFor(const std::string& program, const std::string& arguments) {
  std::string mapped = MapProgramName(program);
  if (mapped.empty()) {
    // A handheld path ("\Program Files\x\x.exe") names a file under the device folder.
    std::string path =
        program.find('\\') != std::string::npos ? DevicePathToHost(program) : program;
    std::vector<std::string> words{path};
    if (!arguments.empty()) {
      words.push_back(arguments);
    }
    return words;
  }
  std::vector<std::string> words = SplitCommand(mapped);
  if (arguments.empty()) {
    std::erase(words, std::string("%1"));  // no empty argument in its place
  }
  for (std::string& word : words) {
    for (std::size_t at = word.find("%1"); at != std::string::npos;
         at = word.find("%1", at + arguments.size())) {
      word.replace(at, 2, arguments);
    }
  }
  return words;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case ENOMEM:
    case EAGAIN:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_FILE_NOT_FOUND;
  }
}

int Spawn(const std::vector<std::string>& words, pid_t* pid) {
  std::vector<char*> argv;
  for (const std::string& word : words) {
    argv.push_back(const_cast<char*>(word.c_str()));
  }
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);  // only stdin, stdout, stderr pass
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
  // Its own process group: Ctrl-C on this program must not end the browser it opened.
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  int result = posix_spawnp(pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return result;
}

}  // namespace

std::string MapProgramName(const std::string& program) {
  std::string name = program.substr(program.rfind('\\') + 1);
  for (const std::string& candidate : {program, name}) {
    std::string command = RegistryProgramCommand(candidate);
    if (command.empty()) {
      command = DefaultProgramCommand(candidate);
    }
    if (!command.empty()) {
      return command;
    }
  }
  return "";
}

BOOL CreateProcess(const std::string& program, const std::string& arguments) {
  SweepUnreaped();
  std::vector<std::string> words = CommandFor(program, arguments);
  if (words.empty() || words[0].empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  pid_t pid = 0;
  int error = Spawn(words, &pid);
  if (error != 0) {
    SetLastError(ErrorFromErrno(error));
    return FALSE;
  }
  ReapLater(pid);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
