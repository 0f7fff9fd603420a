// Starting programs with posix_spawn: no shell, no waiting. Each child gets a detached thread
// that waits for it, so finished children never linger as zombies (and no SIGCHLD handler
// competes with the toolkit's). If that thread cannot be started, the child is reaped by a
// non-blocking sweep on a later call.
#include "platform/process.h"

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
#include "platform/spawn.h"

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
  int error = SpawnProgram(words, false, &pid);
  if (error != 0) {
    SetLastError(ErrorFromErrno(error));
    return FALSE;
  }
  ReapLater(pid);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
