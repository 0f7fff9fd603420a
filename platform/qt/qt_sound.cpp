// PlaySound: maps the device path to the profile's file, installs the shipped default of that
// file name when the file is missing, and hands the file to the command-line player.
#include <QFile>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/device_path.h"
#include "platform/qt/qt_window.h"
#include "platform/sound.h"

// The resources are registered by the display's start; a program that plays sounds without a
// display registers them here (outside any namespace, as the resource macro requires).
static void EnsureSoundResources() {
  static bool done = [] {
    if (!QFile::exists(":/sounds/orvikmessage.wav")) {
      Q_INIT_RESOURCE(orvik);
    }
    return true;
  }();
  (void)done;
}

namespace {

// The last part of a device or host path, lower-cased (device names ignore case).
QString BaseName(const QString& path) {
  qsizetype slash = std::max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
  return path.mid(slash + 1).toLower();
}

// Writes the shipped sound of the file's name to `devicePath`; false when none is shipped or
// it cannot be written (a half-written file is removed).
bool InstallDefault(const QString& devicePath, const std::string& hostPath) {
  EnsureSoundResources();
  QString name = BaseName(devicePath);
  if (name.isEmpty()) {
    return false;
  }
  QFile bundled(":/sounds/" + name);
  if (!bundled.open(QIODevice::ReadOnly)) {
    return false;
  }
  QByteArray data = bundled.readAll();
  std::FILE* out = DeviceFopen(devicePath.toStdString(), "wb");
  if (out == nullptr) {
    return false;
  }
  bool written = std::fwrite(data.constData(), 1, static_cast<std::size_t>(data.size()), out) ==
                 static_cast<std::size_t>(data.size());
  written = std::fclose(out) == 0 && written;
  if (!written) {
    std::error_code ignored;
    std::filesystem::remove(hostPath, ignored);
  }
  return written;
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
  if (!std::filesystem::is_regular_file(hostPath, error) && !InstallDefault(devicePath, hostPath)) {
    return FALSE;  // no file and no default: nothing plays
  }
  std::string player = FindSoundPlayer();
  if (player.empty()) {
    return FALSE;
  }
  return StartSoundPlayer(player, hostPath);
}
