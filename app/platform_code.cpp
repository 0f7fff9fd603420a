#include "app/platform_code.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <cstring>

#include "platform/window.h"
#include "xml/wmstring.h"

DWORD PlatformCode(DWORD majorVersion, const WCHAR* platformType, bool accessDenied) {
  bool pocketPc = !accessDenied && wide_compare(platformType, u"PocketPC") == 0;
  bool smartphone = accessDenied || wide_compare(platformType, u"Smartphone") == 0 ||
                    wide_compare(platformType, u"SmartPhone") == 0;
  if (majorVersion == 3) {
    return pocketPc ? 1 : smartphone ? 2 : 0;
  }
  if (majorVersion == 4) {
    return pocketPc ? 3 : smartphone ? 4 : 0;
  }
  return 0;
}

DWORD DetectPlatform() {
  utsname system{};
  DWORD major = uname(&system) == 0 ? static_cast<DWORD>(std::atoi(system.release)) : 0;
  WCHAR type[64] = {0};
  bool read = SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof(type), type, 0) != FALSE;
  return PlatformCode(major, read ? type : u"", false);
}

const char* UserCountry(char* buffer, int size) {
  const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0') {
      continue;
    }
    const char* underscore = std::strchr(value, '_');
    if (underscore == nullptr) {
      break;  // "C" or "POSIX": no territory
    }
    int length = 0;
    while (underscore[1 + length] != '\0' && underscore[1 + length] != '.' &&
           underscore[1 + length] != '@' && length < size - 1) {
      buffer[length] = underscore[1 + length];
      ++length;
    }
    buffer[length] = '\0';
    if (length > 0) {
      return buffer;
    }
    break;
  }
  std::strncpy(buffer, "x", static_cast<std::size_t>(size));
  return buffer;
}
