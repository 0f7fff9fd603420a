#include "platform/reg_home.h"

#include <stdlib.h>
#include <sys/stat.h>

namespace reg {
namespace {

std::string FromEnvironment() {
  const char* home = getenv("ORVIK_HOME");
  if (home != nullptr && home[0] != '\0') {
    return home;
  }
  const char* config = getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] != '\0') {
    return std::string(config) + "/orvik";
  }
  const char* user = getenv("HOME");
  if (user != nullptr && user[0] != '\0') {
    return std::string(user) + "/.config/orvik";
  }
  return std::string();
}

// mkdir -p; failures are left for the file operations to report.
void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  mkdir(path.c_str(), 0700);
}

}  // namespace

std::string RegistryFolder() {
  std::string folder = FromEnvironment();
  if (!folder.empty()) {
    MakeFolders(folder);
  }
  return folder;
}

}  // namespace reg
