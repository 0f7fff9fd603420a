// Writing one registry value of the profile in $ORVIK_HOME, as the program's dialogs would:
// tests and benchmarks set up accounts and settings with it before the program starts.
#pragma once

#include <string>

#include "base/settings/registry_values.h"
#include "platform/registry.h"
#include "xml/text_convert.h"

// A text value (given in UTF-8) under HKEY_LOCAL_MACHINE `keyName`; false when the key cannot
// be opened or the file written.
inline bool SetRegistryText(const char16_t* keyName, const char* name, const std::string& text) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, u"REG_SZ", &key, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  bool written = WriteWideText(key, name, utf8_to_wide(text.c_str()));
  return RegCloseKey(key) == ERROR_SUCCESS && written;
}

inline bool SetRegistryDword(const char16_t* keyName, const char* name, DWORD value) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, u"REG_SZ", &key, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  bool written = WriteDword(key, name, value);
  return RegCloseKey(key) == ERROR_SUCCESS && written;
}
