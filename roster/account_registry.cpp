#include "roster/account_registry.h"

#include "base/settings/registry_values.h"
#include "base/settings/settings.h"

namespace {

HKEY OpenSettingsKey() {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kSettingsKey, u"REG_SZ", &key, &disposition) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

}  // namespace

wmstring AccountText(const wmstring& text) {
  wmstring cut(text);
  cut.truncate(kTextValueChars - 1);
  return cut;
}

bool ReadAccountValues(std::initializer_list<AccountValue> values) {
  HKEY key = OpenSettingsKey();
  if (!key) {
    return false;
  }
  bool all = true;
  for (const AccountValue& value : values) {
    wmstring text;
    if (!ReadWideText(key, value.first, text)) {
      all = false;
      break;
    }
    *value.second = text;
  }
  RegCloseKey(key);
  return all;
}

bool WriteAccountValues(std::initializer_list<AccountValue> values) {
  HKEY key = OpenSettingsKey();
  if (!key) {
    return false;
  }
  bool all = true;
  for (const AccountValue& value : values) {
    if (!WriteWideText(key, value.first, *value.second)) {
      all = false;
      break;
    }
  }
  // Closing writes the file; a file that cannot be written is a failed save.
  return RegCloseKey(key) == ERROR_SUCCESS && all;
}
