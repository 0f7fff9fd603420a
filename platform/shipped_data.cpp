#include "platform/shipped_data.h"

#include <filesystem>
#include <system_error>

#include "platform/device_path.h"

namespace {

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string ShippedDataPathFrom(const std::string& programFolder, const std::string& name) {
  // A name that climbs out of the data folder is not a shipped file.
  if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos)
    return "";
  std::string folder =
      programFolder.empty() || programFolder.back() == '/' ? programFolder : programFolder + "/";
  for (const std::string& candidate :
       {folder + "../share/orvik/" + name, folder + "resources/" + name,
        std::string(ORVIK_SOURCE_DIR) + "/resources/" + name}) {
    if (IsFile(candidate))
      return std::filesystem::path(candidate).lexically_normal().string();
  }
  return "";
}

std::string ShippedDataPath(const std::string& name) {
  std::string module = DevicePathToHost(GetModuleFileName());
  return ShippedDataPathFrom(module.substr(0, module.rfind('/') + 1), name);
}
