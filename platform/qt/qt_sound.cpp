// PlaySound: maps the device path to the profile's file, installs the shipped default of that
// file name when the file is missing, and hands the file to the command-line player.
#include <QString>
#include <filesystem>
#include <string>

#include "platform/device_path.h"
#include "platform/qt/qt_window.h"
#include "platform/shipped_file.h"
#include "platform/sound.h"

namespace {

// The last part of a device or host path, lower-cased (device names ignore case).
QString BaseName(const QString& path) {
  qsizetype slash = std::max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
  return path.mid(slash + 1).toLower();
}

}  // namespace

BOOL PlaySound(const WCHAR* path, HMODULE, DWORD flags) {
  if (path == nullptr || (flags & SND_FILENAME) == 0) {
    return FALSE;
  }
  QString devicePath = ToQString(path);
  if (devicePath.isEmpty()) {
    return FALSE;
  }
  std::string hostPath = DevicePathToHost(devicePath.toStdString());
  std::error_code error;
  // A missing file gets the shipped sound of the same name, when there is one.
  if (!std::filesystem::is_regular_file(hostPath, error) &&
      !InstallShippedFile(devicePath.toStdString(),
                          "sounds/" + BaseName(devicePath).toStdString())) {
    return FALSE;  // no file and no default: nothing plays
  }
  std::string player = FindSoundPlayer();
  if (player.empty()) {
    return FALSE;
  }
  return StartSoundPlayer(player, hostPath);
}
