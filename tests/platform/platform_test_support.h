// Helpers shared by the platform tests.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

// A fresh temporary folder set as ORVIK_HOME for the test's lifetime.
class ScopedOrvikHome {
 public:
  ScopedOrvikHome() {
    char pattern[] = "/tmp/orvik-platform-XXXXXX";
    path_ = mkdtemp(pattern);
    const char* old = getenv("ORVIK_HOME");
    hadOld_ = old != nullptr;
    old_ = hadOld_ ? old : "";
    setenv("ORVIK_HOME", path_.c_str(), 1);
  }
  ~ScopedOrvikHome() {
    if (hadOld_) {
      setenv("ORVIK_HOME", old_.c_str(), 1);
    } else {
      unsetenv("ORVIK_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string old_;
  bool hadOld_ = false;
};

// Polls `condition` until it holds or `limit` passes; the result of the last look.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(3)) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}
