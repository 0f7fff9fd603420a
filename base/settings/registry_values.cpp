#include "base/settings/registry_values.h"

#include <cstring>
#include <string>
#include <vector>

#include "xml/text_convert.h"

namespace {

constexpr std::uint32_t kNarrowTextLimit = 255;

// Cuts a text to the value's room without leaving half of a surrogate pair at the end.
void CutToRoom(wmstring& text) {
  std::uint32_t room = kTextValueChars - 1;
  if (text.length() <= room) {
    return;
  }
  WCHAR last = text.c_str()[room - 1];
  text.truncate(last >= 0xD800 && last <= 0xDBFF ? room - 1 : room);
}

bool ReportWrite(HKEY key, const char* name, LONG result) {
  if (result == ERROR_SUCCESS) {
    return true;
  }
  RegDeleteValue(key, RegistryName(name).c_str());
  return false;
}

}  // namespace

wmstring RegistryName(const char* name) {
  std::u16string wide;
  for (const char* p = name; p && *p; ++p) {
    wide.push_back(static_cast<unsigned char>(*p));
  }
  return wmstring(wide.c_str());
}

bool ReadDword(HKEY key, const char* name, DWORD& value) {
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD size = sizeof data;
  LONG result = RegQueryValueEx(key, RegistryName(name).c_str(), &type,
                                reinterpret_cast<BYTE*>(&data), &size);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) {
    return false;
  }
  value = data;
  return true;
}

bool ReadWideText(HKEY key, const char* name, wmstring& value) {
  wmstring valueName = RegistryName(name);
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG result = RegQueryValueEx(key, valueName.c_str(), &type, nullptr, &size);
  if (result != ERROR_SUCCESS || type != REG_SZ) {
    return false;
  }
  // The whole stored text is read, then cut: a hand-edited long value still loads.
  std::vector<WCHAR> buffer(size / sizeof(WCHAR) + 1, 0);
  result =
      RegQueryValueEx(key, valueName.c_str(), &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (result != ERROR_SUCCESS || type != REG_SZ) {
    return false;
  }
  buffer.back() = 0;  // a value stored without its terminator still ends here
  value = buffer.data();
  CutToRoom(value);
  return true;
}

bool ReadNarrowText(HKEY key, const char* name, mstring& value) {
  wmstring wide;
  if (!ReadWideText(key, name, wide)) {
    return false;
  }
  value = wide_to_mb(wide.c_str());
  value.truncate(kNarrowTextLimit);
  return true;
}

bool WriteDword(HKEY key, const char* name, DWORD value) {
  LONG result = RegSetValueEx(key, RegistryName(name).c_str(), REG_DWORD,
                              reinterpret_cast<const BYTE*>(&value), sizeof value);
  return ReportWrite(key, name, result);
}

bool WriteWideText(HKEY key, const char* name, const wmstring& value) {
  wmstring stored(value);
  CutToRoom(stored);
  DWORD size = (stored.length() + 1) * sizeof(WCHAR);
  LONG result = RegSetValueEx(key, RegistryName(name).c_str(), REG_SZ,
                              reinterpret_cast<const BYTE*>(stored.c_str()), size);
  return ReportWrite(key, name, result);
}

bool WriteNarrowText(HKEY key, const char* name, const mstring& value) {
  mstring limited(value);
  limited.truncate(kNarrowTextLimit);
  return WriteWideText(key, name, mb_to_wide(limited.c_str()));
}
