// Port names and the table that maps them to devices: registry entries first, then defaults.
#include <strings.h>

#include <cctype>
#include <string>

#include "platform/reg_text.h"
#include "platform/registry.h"
#include "platform/serial_port.h"

namespace {

const WCHAR kSerialKey[] = u"Software\\orvik\\Serial";
constexpr int kLastPort = 255;  // the port number is a byte

// The registry value of the port: true with its text when present (even empty).
bool RegistryDevice(int portNumber, std::string* path) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kSerialKey, &key) != ERROR_SUCCESS) {
    return false;
  }
  std::string name = "COM" + std::to_string(portNumber) + ":";
  std::u16string wideName(name.begin(), name.end());
  DWORD type = REG_NONE;
  DWORD size = 0;
  bool found = RegQueryValueEx(key, wideName.c_str(), &type, nullptr, &size) == ERROR_SUCCESS &&
               type == REG_SZ;
  std::u16string data(size / sizeof(WCHAR), u'\0');
  if (found && !data.empty()) {
    found = RegQueryValueEx(key, wideName.c_str(), &type, reinterpret_cast<BYTE*>(data.data()),
                            &size) == ERROR_SUCCESS;
    data.resize(size / sizeof(WCHAR));
  }
  RegCloseKey(key);
  if (found) {
    *path = reg::Utf16ToUtf8(std::u16string_view(data.c_str()));
  }
  return found;
}

std::string DefaultDevice(int portNumber) {
  switch (portNumber) {
    case 1:
      return "/dev/ttyS0";
    case 2:
    case 3:
      return "/dev/ttyUSB" + std::to_string(portNumber - 2);
    case 4:
    case 5:
      return "/dev/ttyACM" + std::to_string(portNumber - 4);
    case 6:
      return "/dev/rfcomm0";
    default:
      return "";
  }
}

}  // namespace

int SerialPortNumber(const char* name) {
  if (name == nullptr || strncasecmp(name, "COM", 3) != 0) {
    return -1;
  }
  const char* p = name + 3;
  int number = 0;
  int digits = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p, ++digits) {
    number = number * 10 + (*p - '0');
    if (number > kLastPort) {
      return -1;
    }
  }
  if (*p == ':') {
    ++p;
  }
  return digits > 0 && *p == '\0' && number >= 1 ? number : -1;
}

std::string SerialDevicePath(int portNumber) {
  if (portNumber < 1 || portNumber > kLastPort) {
    return "";
  }
  std::string path;
  return RegistryDevice(portNumber, &path) ? path : DefaultDevice(portNumber);
}
