// Waiting for a child process of a test to end.
#pragma once

#include <sys/wait.h>

#include <chrono>
#include <thread>

// The child's exit code (128 + the signal when a signal ended it), or -1 when it did not end
// within `seconds`.
inline int WaitForChildExit(pid_t pid, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}
