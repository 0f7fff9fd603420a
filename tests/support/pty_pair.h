// A pseudo-terminal standing in for a serial device: the port under test opens the slave
// side (a registry value maps "COMn:" to its path) and the test plays the device on the
// master side.
#pragma once

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/registry.h"

class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
      slavePath_ = ptsname(master_);
    }
  }
  ~PtyPair() { CloseMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
  const std::string& slavePath() const { return slavePath_; }

  // The device hangs up.
  void CloseMaster() {
    if (master_ >= 0) {
      close(master_);
      master_ = -1;
    }
  }

  bool Send(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) {
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  // Reads until `count` bytes have come or nothing more comes for a few seconds.
  std::string Receive(std::size_t count) const {
    std::string bytes;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
      pollfd readable{master_, POLLIN, 0};
      if (poll(&readable, 1, 100) <= 0) {
        continue;
      }
      char buffer[256];
      std::size_t want = std::min(sizeof buffer, count - bytes.size());
      ssize_t n = read(master_, buffer, want);
      if (n <= 0) {
        break;
      }
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Maps port `name` ("COM4:") to `path` in the profile's serial port table.
inline bool MapSerialPort(const char* name, const std::string& path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, u"Software\\orvik\\Serial", u"REG_SZ", &key,
                     &disposition) != ERROR_SUCCESS) {
    return false;
  }
  std::u16string wideName(name, name + std::char_traits<char>::length(name));
  std::u16string data(path.begin(), path.end());
  data.push_back(0);
  LONG result =
      RegSetValueEx(key, wideName.c_str(), REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                    static_cast<DWORD>(data.size() * sizeof(WCHAR)));
  return RegCloseKey(key) == ERROR_SUCCESS && result == ERROR_SUCCESS;
}
