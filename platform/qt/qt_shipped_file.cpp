// InstallShippedFile: the shipped copies are the installed data files (shipped_data.h), else
// resources of the executable (resources/orvik.qrc).
#include <QFile>
#include <QString>
#include <cstdio>
#include <filesystem>

#include "platform/device_path.h"
#include "platform/shipped_data.h"
#include "platform/shipped_file.h"

// The resources are registered by the display's start; a caller without a display registers
// them here (outside any namespace, as the resource macro requires).
static void EnsureShippedResources() {
  static bool done = [] {
    if (!QFile::exists(":/RididEdazov.xml")) {
      Q_INIT_RESOURCE(orvik);
    }
    return true;
  }();
  (void)done;
}

bool InstallShippedFile(const std::string& devicePath, const std::string& shippedName) {
  std::string hostPath = DevicePathToHost(devicePath);
  std::error_code error;
  if (hostPath.empty() || std::filesystem::is_regular_file(hostPath, error)) {
    return !hostPath.empty();
  }
  // An installed copy (which a packager or administrator may have adapted) comes first; the
  // copy compiled into the executable is there when the program was not installed.
  std::string installed = ShippedDataPath(shippedName);
  EnsureShippedResources();
  QFile shipped(installed.empty() ? ":/" + QString::fromStdString(shippedName)
                                  : QString::fromStdString(installed));
  if (shippedName.empty() || !shipped.open(QIODevice::ReadOnly)) {
    return false;
  }
  QByteArray data = shipped.readAll();
  std::FILE* out = DeviceFopen(devicePath, "wb");
  if (out == nullptr) {
    return false;
  }
  bool written = std::fwrite(data.constData(), 1, static_cast<std::size_t>(data.size()), out) ==
                 static_cast<std::size_t>(data.size());
  written = std::fclose(out) == 0 && written;
  if (!written) {
    std::filesystem::remove(hostPath, error);
  }
  return written;
}
