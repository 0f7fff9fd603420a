// Device paths on the host file system.
#include "platform/device_path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// mkdir -p; the profile holds passwords, so folders made here are private.
bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (!prefix.empty() && mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
      return false;
    }
    if (slash == std::string::npos) {
      return true;
    }
  }
}

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : "";
}

// The device path's components below the root, with "." and empty ones dropped and ".."
// taking away the previous one (never climbing above the root).
std::string CleanRelative(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) {
      end = path.size();
    }
    std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) {
        parts.pop_back();
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string joined;
  for (const std::string& part : parts) {
    joined += "/" + part;
  }
  return joined;
}

// The program folder in device form, ending in a backslash ("\usr\bin\").
std::string ProgramFolder() {
  std::string module = GetModuleFileName();
  return module.substr(0, module.rfind('\\') + 1);
}

}  // namespace

std::string OrvikHome() {
  std::string home = Environment("ORVIK_HOME");
  if (home.empty()) {
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
      std::string user = Environment("HOME");
      if (user.empty()) {
        const passwd* entry = getpwuid(getuid());
        user = entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/tmp";
      }
      config = user + "/.config";
    }
    home = config + "/orvik";
  }
  while (home.size() > 1 && home.back() == '/') {
    home.pop_back();
  }
  MakeFolders(home);
  return home;
}

std::string GetModuleFileName() {
  std::string path = ExecutablePath();
  for (char& c : path) {
    if (c == '/') {
      c = '\\';
    }
  }
  return path;
}

std::string DevicePathToHost(const std::string& devicePath) {
  if (devicePath.empty()) {
    return "";
  }
  bool hasBackslash = devicePath.find('\\') != std::string::npos;
  if (devicePath[0] == '/' && !hasBackslash) {
    return devicePath;
  }
  std::string folder = ProgramFolder();
  std::string path = devicePath;
  for (char& c : path) {
    if (c == '\\') {
      c = '/';
    }
  }
  // The program folder is the executable's folder, already a host path.
  if (folder.size() > 1 && devicePath.compare(0, folder.size(), folder) == 0) {
    return path;
  }
  std::string relative = CleanRelative(path);
  return OrvikHome() + "/device" + relative;
}

std::FILE* DeviceFopen(const std::string& devicePath, const char* mode) {
  std::string host = DevicePathToHost(devicePath);
  if (host.empty() || mode == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  std::string modeText = mode;
  if (modeText.find_first_of("wa+") != std::string::npos) {
    std::size_t slash = host.rfind('/');
    if (slash != std::string::npos && slash > 0) {
      MakeFolders(host.substr(0, slash));
    }
  }
  // Close on exec: started programs must not inherit the program's open files.
  return std::fopen(host.c_str(), (modeText + "e").c_str());
}
