// A temporary $ORVIK_HOME for one test: a fresh folder, removed afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

class TempHome {
 public:
  TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    previous_ = std::getenv("ORVIK_HOME") ? std::getenv("ORVIK_HOME") : "";
    ::setenv("ORVIK_HOME", path_.c_str(), 1);
  }
  ~TempHome() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    if (previous_.empty()) {
      ::unsetenv("ORVIK_HOME");
    } else {
      ::setenv("ORVIK_HOME", previous_.c_str(), 1);
    }
  }
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::string& path() const { return path_; }
  std::string registryFile() const { return path_ + "/registry.reg"; }

  std::string Read(const std::string& relative) const {
    std::ifstream in(path_ + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& relative, const std::string& text) const {
    std::filesystem::path file = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(std::filesystem::path(path_) / relative);
  }

 private:
  std::string path_;
  std::string previous_;
};
