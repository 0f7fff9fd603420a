#include "xmpp/registry_read.h"

#include <vector>

#include "platform/registry.h"
#include "xml/text_convert.h"
#include "xml/wmstring.h"

namespace {

class OpenKey {
 public:
  explicit OpenKey(const char16_t* subkey) {
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, subkey, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~OpenKey() {
    if (key_)
      RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

wmstring wide_name(const char* name) {
  std::u16string wide(name, name + std::char_traits<char>::length(name));
  return wmstring(wide.c_str());
}

}  // namespace

bool registry_read_text(const char16_t* subkey, const char* name, std::string* value) {
  OpenKey key(subkey);
  if (!key.get())
    return false;
  wmstring wname = wide_name(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueEx(key.get(), wname.c_str(), &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  std::vector<WCHAR> text(size / sizeof(WCHAR) + 1, 0);
  if (RegQueryValueEx(key.get(), wname.c_str(), &type, reinterpret_cast<BYTE*>(text.data()),
                      &size) != ERROR_SUCCESS)
    return false;
  text.back() = 0;
  *value = wide_to_utf8(text.data()).c_str();
  return true;
}

bool registry_read_dword(const char16_t* subkey, const char* name, DWORD* value) {
  OpenKey key(subkey);
  if (!key.get())
    return false;
  DWORD type = 0;
  DWORD size = sizeof(DWORD);
  DWORD data = 0;
  if (RegQueryValueEx(key.get(), wide_name(name).c_str(), &type, reinterpret_cast<BYTE*>(&data),
                      &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  *value = data;
  return true;
}
